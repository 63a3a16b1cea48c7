# Writes a form description without one of the form's own components: the
# lines from "  object NAME: CLASS" to its "  end" (both indented two spaces,
# as components sitting directly on the form are) are left out.
#   cmake -DINPUT=in.form -DOUTPUT=out.form -DOBJECT=NAME -P RemoveFormObject.cmake
file(READ ${INPUT} text)
string(FIND "${text}" "\n  object ${OBJECT}:" begin)
if(begin EQUAL -1)
  message(FATAL_ERROR "${INPUT}: no component ${OBJECT} on the form")
endif()
string(SUBSTRING "${text}" ${begin} -1 tail)
string(FIND "${tail}" "\n  end\n" length)
if(length EQUAL -1)
  message(FATAL_ERROR "${INPUT}: component ${OBJECT} has no end")
endif()
math(EXPR after "${begin} + ${length} + 6")
string(SUBSTRING "${text}" 0 ${begin} head)
string(SUBSTRING "${text}" ${after} -1 rest)
file(WRITE ${OUTPUT}.tmp "${head}${rest}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
