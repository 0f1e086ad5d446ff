#pragma once
// Resource IDs of the program's pictures. Plain macros so that the resource script can use them.
// The program icon is an icon resource; the others are coded data the wizard decodes.
#define IDI_PROGRAM 1
#define IDB_HEADER 101
#define IDI_FOLDER 102
// The header picture at twice its size, for screens above 96 dpi.
#define IDB_HEADER_LARGE 103
