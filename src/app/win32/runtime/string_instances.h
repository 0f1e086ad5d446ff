// Included ahead of every C++ file the stub is built from (see runtime_replacements.cpp).
//
// libstdc++ declares std::string an explicit instantiation that lives in the library, so a static
// program links the library's object with every member of the class. On mingw the linker keeps
// all unwind tables and with them all the code they describe, so none of it is dropped: some 30 KB
// of the stub. -1 is libstdc++'s own setting that lifts the declaration for std::string alone;
// each program then compiles only the members it uses.
#pragma once
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
