#pragma once
// Fixed control IDs of the wizard window. The end-to-end tests find the real child windows by them.
// Plain macros so that the resource script can use them too.
#define IDC_BTN_CANCEL 1001
#define IDC_BEVEL1 1002
#define IDC_BEVEL2 1003
#define IDC_PANEL2 1004
#define IDC_IMAGE2 1005
#define IDC_LB_DESCRIPTION 1006
#define IDC_LB_TITLE 1007
#define IDC_LINK 1008
#define IDC_BTN_BACK 1009
#define IDC_BTN_NEXT 1010
#define IDC_NOTEBOOK 1011
#define IDC_BTN_BROWSE 1012
#define IDC_ED_DIRECTORY 1013
#define IDC_LABEL1 1014
#define IDC_LABEL2 1015
#define IDC_RB_ACCEPT 1016
#define IDC_RB_NOT_ACCEPT 1017
#define IDC_ED_LICENSE 1018
#define IDC_ED_README 1019
#define IDC_LABEL3 1020
#define IDC_LABEL4 1021
#define IDC_PROGRESS_BAR 1022
#define IDC_IMAGE1 1023
#define IDC_LABEL5 1024
// Pages of the notebook: one child window per page, IDC_PAGE_FIRST + page index.
#define IDC_PAGE_FIRST 1100

// Resource IDs.
#define IDI_PROGRAM 1
#define IDB_HEADER 101
#define IDI_FOLDER 102
// The header picture at twice its size, for screens above 96 dpi.
#define IDB_HEADER_LARGE 103
