# Each skin is a hand-written definition (skins/<name>/skin.ini) plus the
# generator's bitmaps, collected in build/.../skins/<name>/ and packed into
# build/.../skins/<name>.skin with the definition first.
#
# The rules are added once the whole tree is read, because the packer's
# folder may come after the generator's.
function(add_generated_skin name)
  cmake_parse_arguments(S "" "" "GENERATOR_ARGS" ${ARGN})
  set(output_dir ${CMAKE_BINARY_DIR}/skins)
  set(art_dir ${output_dir}/${name})
  set(definition ${PROJECT_SOURCE_DIR}/skins/${name}/skin.ini)
  set(stamp ${output_dir}/${name}.generated)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${art_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${art_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${definition} ${art_dir}/skin.ini
    COMMAND skingen ${art_dir} ${S_GENERATOR_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS skingen ${definition}
    COMMENT "Drawing skin ${name}")
  set(outputs ${stamp})
  if(TARGET skinpack)
    set(archive ${output_dir}/${name}.skin)
    add_custom_command(OUTPUT ${archive}
      COMMAND skinpack pack ${art_dir} -o ${archive}
      DEPENDS skinpack ${stamp}
      COMMENT "Packing ${name}.skin")
    list(APPEND outputs ${archive})
    # The shipped skins give the checker nothing to say, folder and archive.
    foreach(input ${art_dir} ${archive})
      cmake_path(GET input FILENAME input_name)
      add_test(NAME skins.check.${input_name} COMMAND skinpack check ${input})
      set_tests_properties(skins.check.${input_name} PROPERTIES FAIL_REGULAR_EXPRESSION "warning:|error:")
    endforeach()
  endif()
  add_custom_target(skin_${name} ALL DEPENDS ${outputs})
endfunction()

function(add_project_skins)
  add_generated_skin(default)
  add_generated_skin(dark GENERATOR_ARGS --dark)
  add_generated_skin(flat GENERATOR_ARGS --flat)
  add_generated_skin(meridian GENERATOR_ARGS --meridian)
  add_generated_skin(meridian_dark GENERATOR_ARGS --meridian-dark)
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL add_project_skins)
