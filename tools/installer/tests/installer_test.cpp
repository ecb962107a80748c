// The installer as a user gets it: a silent per-user install into a folder with a
// blank in its name, the installed program starting, and a silent uninstall that
// removes what was installed but keeps the user's own icons and files.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/support/driver.h"

namespace {

namespace fs = std::filesystem;
using iv::e2e::Process;
using iv::e2e::WaitUntil;

constexpr wchar_t kScheme[] = L"Software\\Classes\\icvan";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kUninstKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Iconvane";

std::wstring WinPath(const char* unixPath) {
  std::wstring out = unixPath[0] == '/' ? L"Z:" : L"";
  for (const char* p = unixPath; *p; ++p) out += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return out;
}

std::wstring InstallerPath() {
  const char* path = std::getenv("IV_INSTALLER");
  return path && *path ? WinPath(path) : L"";
}

// The text of a value, or "<missing>" so a missing value reads clearly in failures.
std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buf[2048];
  DWORD size = sizeof(buf);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buf;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

std::wstring ProgramsMenu() {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// Runs an installer or uninstaller and returns its exit code (or ~0 when it hangs).
DWORD RunToEnd(const std::wstring& exe, const std::wstring& args) {
  Process p(exe, args);
  if (!p.started()) return ~0u;
  return p.WaitExit(120000) ? p.ExitCode() : ~0u;
}

class InstallerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    temp_ = new iv::e2e::TempDir;
    dir_ = *temp_ / L"Icon vane";
    // The registrations are per user: start from none, as on a fresh account.
    RegDeleteTreeW(HKEY_CURRENT_USER, kScheme);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstKey);
    installRc_ = RunToEnd(InstallerPath(), L"/S /D=" + dir_);
  }
  static void TearDownTestSuite() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kScheme);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Iconvane for AIM");
    iv::e2e::ResetSettings();
    delete temp_;
  }
  void SetUp() override { ASSERT_EQ(installRc_, 0u) << "silent install failed"; }

  static std::wstring Exe() { return dir_ + L"\\iconvane.exe"; }

  static inline iv::e2e::TempDir* temp_ = nullptr;
  static inline std::wstring dir_;
  static inline DWORD installRc_ = ~0u;
};

TEST_F(InstallerTest, InstallsProgramFolderAndRegistrations) {
  // The whole program folder ships, the messenger stand-ins used by tests do not.
  for (const wchar_t* name : {L"iconvane.exe", L"aim.htm", L"uninstall.exe"})
    EXPECT_TRUE(fs::is_regular_file(dir_ + L"\\" + name)) << fs::path(name).string();
  for (const auto& entry : fs::directory_iterator(iv::e2e::BinDir())) {
    const std::wstring name = entry.path().filename().wstring();
    if (!entry.is_regular_file() || name.rfind(L"aimsim", 0) == 0) continue;
    if (name == L"Categories.dat" || name == L"tmp.gif") continue;
    EXPECT_TRUE(fs::exists(dir_ + L"\\" + name)) << entry.path().filename().string() << " not installed";
  }
  EXPECT_FALSE(fs::exists(dir_ + L"\\aimsim.exe"));
  EXPECT_FALSE(fs::exists(dir_ + L"\\Icon Library"));

  // Quoted, so a folder with blanks still gets the whole link as one argument.
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kScheme, nullptr), L"URL: Picvane Protocol");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kScheme, L"URL Protocol"), L"");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, std::wstring(kScheme) + L"\\shell\\open\\command", nullptr),
            L"\"" + Exe() + L"\" \"%1\"");

  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, L"Iconvane for AIM"), L"\"" + Exe() + L"\" -min");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstKey, L"UninstallString"), L"\"" + dir_ + L"\\uninstall.exe\"");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstKey, L"DisplayName"), L"Iconvane for AIM");
  EXPECT_TRUE(fs::exists(ProgramsMenu() + L"\\Iconvane for AIM.lnk"));
}

TEST_F(InstallerTest, InstalledProgramStarts) {
  Process program(Exe(), L"", dir_);
  ASSERT_TRUE(program.started());
  EXPECT_NE(iv::e2e::WaitForMainWindow(program.pid()), nullptr);
  program.Kill();
}

TEST_F(InstallerTest, UninstallKeepsTheUsersIconsAndFiles) {
  // What a user and the program leave in the folder over time.
  fs::create_directories(dir_ + L"\\Icon Library\\Funny Cats");
  static const char kGif[] = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";
  const std::string gif(kGif, sizeof(kGif) - 1);
  WriteFile(dir_ + L"\\Icon Library\\Funny Cats\\cat.gif", gif);
  WriteFile(dir_ + L"\\my notes.txt", "mine");
  WriteFile(dir_ + L"\\Categories.dat", "Funny Cats\r\n");
  WriteFile(dir_ + L"\\tmp.gif", gif);
  iv::e2e::SetSetting(L"Icons", L"Count", L"1");

  // The uninstaller runs from a copy of itself and returns at once: the end of
  // its work is the removal of its own registration.
  ASSERT_EQ(RunToEnd(dir_ + L"\\uninstall.exe", L"/S"), 0u);
  ASSERT_TRUE(WaitUntil([] { return !KeyExists(HKEY_CURRENT_USER, kUninstKey); }, 60000));

  for (const wchar_t* name : {L"iconvane.exe", L"aim.htm", L"uninstall.exe", L"Categories.dat", L"tmp.gif"})
    EXPECT_FALSE(fs::exists(dir_ + L"\\" + name)) << fs::path(name).string() << " left behind";
  EXPECT_TRUE(fs::exists(dir_ + L"\\Icon Library\\Funny Cats\\cat.gif"));
  EXPECT_TRUE(fs::exists(dir_ + L"\\my notes.txt"));
  EXPECT_EQ(iv::e2e::GetSetting(L"Icons", L"Count"), L"1") << "settings belong with the kept library";

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScheme));
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, L"Iconvane for AIM"), L"<missing>");
  EXPECT_FALSE(fs::exists(ProgramsMenu() + L"\\Iconvane for AIM.lnk"));
  // The program registered itself again when it ran; no link may lead to the removed copy.
  const std::wstring command = RegText(HKEY_CLASSES_ROOT, L"icvan\\shell\\open\\command", nullptr);
  EXPECT_EQ(command.find(dir_), std::wstring::npos) << "icvan: still opens " << fs::path(command).string();
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring installer = InstallerPath();
  if (installer.empty() || GetFileAttributesW(installer.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("no installer was built (makensis missing): skipped\n");
    return 77;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
