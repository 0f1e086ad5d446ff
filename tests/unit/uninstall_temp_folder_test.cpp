#include <gtest/gtest.h>

#include "support/fake_os.h"
#include "uninstall/temp_folder.h"

namespace {

TEST(TempFolder, SystemFolderElseWindowsTempElseNothing) {
  struct Case {
    const char* name;
    std::string temp, windows;
    bool windowsTempExists, createFails;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"system value", "C:\\Users\\me\\Temp\\", "C:\\windows", true, false, "C:\\Users\\me\\Temp\\"},
      {"system value up to NUL", std::string("C:\\T\\\0junk", 10), "C:\\windows", true, false, "C:\\T\\"},
      {"system value without backslash", "C:\\T", "C:\\windows", true, false, "C:\\T\\"},
      {"none: windows temp", "", "C:\\windows", true, false, "C:\\windows\\Temp\\"},
      {"none: windows temp created", "", "C:\\windows", false, false, "C:\\windows\\Temp\\"},
      {"none: windows temp not creatable", "", "C:\\windows", false, true, ""},
      {"none at all", "", "", false, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeOs fake;
    fake.files.SetTempPath(c.temp);
    fake.files.SetWindowsDirectory(c.windows);
    // Windows compares paths without case: "Temp" finds the prefix's "temp".
    if (!c.windowsTempExists) fake.files.DeleteFileAt("C:\\windows\\temp"), fake.files.RemoveFolder("C:\\windows\\temp");
    if (c.createFails) fake.FailOn("CreateFolder");
    EXPECT_EQ(uninstall::TempFolder(fake.files), c.expected);
    if (!c.expected.empty() && c.temp.empty()) {
      EXPECT_TRUE(fake.files.HasFolder(c.expected));
    }
  }
}

}  // namespace
