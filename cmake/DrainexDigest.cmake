# Writes the SHA-256 of the built Drainex.exe as a header of Vornel, which starts no other file.
# usage: cmake -DPROGRAM=Drainex.exe -DOUTPUT=DrainexDigest.h -P DrainexDigest.cmake
file(SHA256 "${PROGRAM}" digest)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " bytes "${digest}")
string(REGEX REPLACE ", $" "" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Written by the build: the SHA-256 of the Drainex.exe built with this Vornel.exe.\n"
  "#pragma once\n\n"
  "#include \"app/Sha256.h\"\n\n"
  "constexpr Sha256Digest kBuiltDrainexDigest{{${bytes}}};\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
