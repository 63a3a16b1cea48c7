# A stored stream property holds a 32-bit byte count before its bytes; the
# embedded file is only the bytes. Puts the count (little-endian) in front of
# the expanded data of PROPERTY in the form description FORM, taken from the
# size of FILE.
#   cmake -DFORM=f.form -DPROPERTY=SkinStream -DFILE=default.skin -P PrefixStreamCount.cmake
file(SIZE ${FILE} size)
math(EXPR size_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
string(SUBSTRING "${size_hex}" 2 -1 digits)
string(LENGTH "${digits}" length)
math(EXPR padding "8 - ${length}")
string(REPEAT "0" ${padding} zeros)
string(TOUPPER "${zeros}${digits}" digits)
set(count "")
foreach(at 6 4 2 0)
  string(SUBSTRING "${digits}" ${at} 2 byte)
  string(APPEND count "${byte}")
endforeach()
file(READ ${FORM} text)
string(FIND "${text}" "${PROPERTY} = {\n      " at)
if(at LESS 0)
  message(FATAL_ERROR "${FORM}: no expanded ${PROPERTY}")
endif()
string(REPLACE "${PROPERTY} = {\n      " "${PROPERTY} = {\n      ${count}" text "${text}")
file(WRITE ${FORM} "${text}")
