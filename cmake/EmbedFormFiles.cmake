# Expands a form description for the build: every  @file('NAME')  becomes the
# bytes of NAME (a build product in FILES_DIR) as binary data { hex }.
#   cmake -DINPUT=in.dfm -DOUTPUT=out.form -DFILES_DIR=dir -P EmbedFormFiles.cmake
file(READ ${INPUT} text)
string(REGEX MATCHALL "@file\\('[^']+'\\)" refs "${text}")
list(REMOVE_DUPLICATES refs)
foreach(ref IN LISTS refs)
  string(REGEX REPLACE "@file\\('([^']+)'\\)" "\\1" name "${ref}")
  if(NOT EXISTS ${FILES_DIR}/${name})
    message(FATAL_ERROR "${INPUT}: ${name} not found in ${FILES_DIR}")
  endif()
  file(READ ${FILES_DIR}/${name} hex HEX)
  string(TOUPPER "${hex}" hex)
  # 64 hex digits per line, indented like the rest of the description.
  string(REGEX REPLACE "([0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F])" "\\1\n      " hex "${hex}")
  string(REPLACE "${ref}" "{\n      ${hex}}" text "${text}")
endforeach()
file(WRITE ${OUTPUT}.tmp "${text}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
