# Writes OUT: a chart of accounts of a few thousand lines, varied enough that it
# does not compress to nothing.
set(text "")
foreach(i RANGE 1 3000)
  math(EXPR account "10000 + ${i} * 37 % 8999")
  math(EXPR balance "(${i} * 7919) % 100003")
  math(EXPR group "${i} % 17")
  string(APPEND text "${account};Account ${i} of group ${group};${balance}.${group}0;EUR\r\n")
endforeach()
file(WRITE "${OUT}" "${text}")
