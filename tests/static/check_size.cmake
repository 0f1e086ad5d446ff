# Reports the size of PROGRAM and fails above LIMIT bytes.
file(SIZE ${PROGRAM} size)
math(EXPR kilobytes "(${size} + 1023) / 1024")
math(EXPR targetKilobytes "${TARGET_SIZE} / 1024")
math(EXPR limitKilobytes "${LIMIT} / 1024")
message(STATUS "${PROGRAM}: ${size} bytes (${kilobytes} KB; aim ${targetKilobytes} KB, limit ${limitKilobytes} KB)")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, more than the limit of ${LIMIT}")
endif()
