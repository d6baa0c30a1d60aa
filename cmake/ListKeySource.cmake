# cmake -DKEY=PEM -DOUT=FILE -P ListKeySource.cmake: the one object that gives a program
# the public key its file lists must be signed with (KEY empty: none, lists unchecked).
set(pem "")
if(KEY)
  file(READ "${KEY}" pem)
  if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----")
    message(FATAL_ERROR "${KEY} is not a PEM public key (openssl pkey -pubout makes one)")
  endif()
endif()
file(WRITE "${OUT}.new" "// Made by the build from the list key option; do not edit.\n"
                        "#include \"app/win32/listkey.h\"\n\n"
                        "const char kBuiltInListKey[] = R\"pem(${pem})pem\";\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
