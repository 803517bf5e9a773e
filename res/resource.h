// Resource ids shared by the resource script and the program.
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_TEXT 1000
#define ID_APP_ABOUT 57664
#define AFX_IDS_APP_TITLE 57344
#define IDC_STATIC -1
