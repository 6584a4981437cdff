# Writes the bytes of INPUT as a C array NAME (with NAME_size) into OUTPUT.
# With ICC_DATE (YYYY;MM;DD) the ICC profile header's creation date is set to
# it, so that the embedded profile does not change with the day of the build.
file(READ "${INPUT}" hex HEX)
if(DEFINED ICC_DATE)
  set(date "")
  foreach(part IN LISTS ICC_DATE ITEMS 0 0 0)
    math(EXPR part "${part}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${part}" 2 -1 digits)
    string(LENGTH "${digits}" n)
    while(n LESS 4)
      string(PREPEND digits "0")
      math(EXPR n "${n} + 1")
    endwhile()
    string(APPEND date "${digits}")
  endforeach()
  string(SUBSTRING "${hex}" 0 48 head)
  string(SUBSTRING "${hex}" 72 -1 tail)
  set(hex "${head}${date}${tail}")
endif()
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" body "${body}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT} by cmake/EmbedBytes.cmake.\n"
  "extern \"C\" {\nextern const unsigned char ${NAME}[];\nextern const unsigned long ${NAME}_size;\n"
  "const unsigned char ${NAME}[] = {\n${body}};\n"
  "const unsigned long ${NAME}_size = ${size};\n}\n")
