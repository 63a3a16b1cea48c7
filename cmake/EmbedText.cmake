# Writes text files into a C++ source as string constants, so that a program
# carries them: one  const std::string_view NAME  per file.
#   cmake -DINPUTS=a.ini|b.ini -DNAMES=kA|kB -DNAMESPACE=ns -DOUTPUT=out.cpp -P EmbedText.cmake
string(REPLACE "|" ";" INPUTS "${INPUTS}")
string(REPLACE "|" ";" NAMES "${NAMES}")
set(text "// Made by the build from the files named below; do not edit.\n#include <string_view>\n\nnamespace ${NAMESPACE} {\n")
foreach(input name IN ZIP_LISTS INPUTS NAMES)
  file(READ ${input} content)
  if(content MATCHES "\\)text\"")
    message(FATAL_ERROR "${input} holds the raw-string end mark )text\"")
  endif()
  cmake_path(GET input FILENAME file_name)
  string(APPEND text "\n// ${file_name}\nextern const std::string_view ${name};\nconst std::string_view ${name} = R\"text(${content})text\";\n")
endforeach()
string(APPEND text "\n}  // namespace ${NAMESPACE}\n")
file(WRITE ${OUTPUT}.tmp "${text}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
