"""The NSIS installers the bench measures ours against, written as scripts for makensis."""

COMPRESSED = "SetCompressor /SOLID lzma"
STORED = "SetCompress off"


def single_file(image, out, compression):
    """amd64, one file into C:\\bench\\nsis, no pages shown with /S: what the install rows time."""
    return f"""Unicode true
Target amd64-unicode
{compression}
OutFile "{out}"
RequestExecutionLevel user
InstallDir "C:\\bench\\nsis"
Page directory
Page instfiles
Section
  SetOutPath "$INSTDIR"
  File "{image}"
SectionEnd
"""


def full_setup(saver, readme, license_text, out):
    """What our setup file offers, for the size rows: x86 ANSI like our release stub, the modern
    pages (licence, folder, progress, finish with the readme), the saver under its name, the
    readme, an uninstaller with its entry, a Start-menu group and a desktop link, the shell's
    "install", solid LZMA."""
    key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Starfield"
    return f"""Target x86-ansi
{COMPRESSED}
!include MUI2.nsh
Name "Starfield"
OutFile "{out}"
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\\Starfield"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\\Starfield Readme.txt"
!insertmacro MUI_PAGE_LICENSE "{license_text}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
Section
  SetOutPath "$INSTDIR"
  File "/oname=Stars.scr" "{saver}"
  File "/oname=Starfield Readme.txt" "{readme}"
  WriteUninstaller "$INSTDIR\\uninstall Stars.exe"
  WriteRegStr HKLM "{key}" "DisplayName" "Starfield"
  WriteRegStr HKLM "{key}" "UninstallString" '"$INSTDIR\\uninstall Stars.exe"'
  WriteRegStr HKLM "{key}" "URLInfoAbout" "http://www.example.com/starfield"
  CreateDirectory "$SMPROGRAMS\\Starfield"
  CreateShortcut "$SMPROGRAMS\\Starfield\\Starfield.lnk" "$INSTDIR\\Stars.scr"
  CreateShortcut "$SMPROGRAMS\\Starfield\\Uninstall Starfield.lnk" "$INSTDIR\\uninstall Stars.exe"
  CreateShortcut "$DESKTOP\\Starfield.lnk" "$INSTDIR\\Stars.scr"
  ExecShell "install" "$INSTDIR\\Stars.scr"
SectionEnd
Section "Uninstall"
  Delete "$INSTDIR\\Stars.scr"
  Delete "$INSTDIR\\Starfield Readme.txt"
  Delete "$INSTDIR\\uninstall Stars.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\\Starfield\\Starfield.lnk"
  Delete "$SMPROGRAMS\\Starfield\\Uninstall Starfield.lnk"
  RMDir "$SMPROGRAMS\\Starfield"
  Delete "$DESKTOP\\Starfield.lnk"
  DeleteRegKey HKLM "{key}"
SectionEnd
"""
