// The settings store on the real registry and the shell launcher, in-process.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/driver.h"
#include "settings/win/registry_backend.h"
#include "shell/win/shell_open.h"

namespace iv {

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { e2e::ResetSettings(); }
  void TearDown() override { e2e::ResetSettings(); }
  settings::Store& store = settings::RegistryStore();
  const wchar_t* key = L"SOFTWARE\\Dravolt Software\\Iconvane for AIM\\Options";
};

TEST_F(RegistryStoreTest, TextRoundTripAndKeysCreatedAlongThePath) {
  EXPECT_EQ(store.Get("Options", "Rotate", "4"), "4");
  store.Set("Options", "Minutes", "20");
  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &k), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(k, L"Minutes", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(k);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 3 * sizeof(wchar_t));  // "20" and its terminator
  EXPECT_EQ(store.Get("Options", "Minutes", ""), "20");
  // Text in any language survives the trip.
  store.Set("Icons", "1", "Кошки\\çà.gif");
  EXPECT_EQ(store.Get("Icons", "1", ""), "Кошки\\çà.gif");
  store.Set("Options", "Time", "");
  EXPECT_EQ(store.Get("Options", "Time", "x"), "");
}

TEST_F(RegistryStoreTest, DwordReadsAsItsNumberOtherTypesAsTheDefault) {
  store.Set("Options", "Rotate", "1");
  const DWORD seven = 7;
  const BYTE blob[] = {1, 2, 3};
  RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Minutes", REG_DWORD, &seven, sizeof(seven));
  RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Blob", REG_BINARY, blob, sizeof(blob));
  RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Path", REG_EXPAND_SZ, L"%TEMP%\\x", 20);
  EXPECT_EQ(store.Get("Options", "Minutes", "15"), "7");
  EXPECT_EQ(store.Get("Options", "Blob", "dflt"), "dflt");
  EXPECT_EQ(store.Get("Options", "Path", ""), "%TEMP%\\x");
}

TEST_F(RegistryStoreTest, DeleteIsRefusedWhileASubKeyExists) {
  store.Set("Icons", "Count", "2");
  store.Set("Icons\\Temp", "DLDir", "Cats");
  store.DeleteSection("Icons");
  EXPECT_EQ(store.Get("Icons", "Count", ""), "2");
  store.DeleteSection("Icons\\Temp");
  store.DeleteSection("Icons");
  EXPECT_EQ(store.Get("Icons", "Count", "none"), "none");
}

TEST_F(RegistryStoreTest, AStampChangesWithEveryWriteAndOnlyThen) {
  const std::string path = settings::KeyPath(settings::kRoot, settings::kApp, "Icons");
  EXPECT_EQ(store.backend().Stamp(settings::Hive::CurrentUser, path), std::nullopt);
  store.Set("Icons", "Count", "1");
  store.Set("Icons", "1", "a\\b.gif");
  const auto first = store.backend().Stamp(settings::Hive::CurrentUser, path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->values, 2u);
  store.Get("Icons", "1", "");
  EXPECT_EQ(store.backend().Stamp(settings::Hive::CurrentUser, path), first);
  store.Set("Icons", "1", "c\\d.gif");
  const auto second = store.backend().Stamp(settings::Hive::CurrentUser, path);
  ASSERT_TRUE(second);
  EXPECT_NE(second, first);
  EXPECT_EQ(second->values, 2u);
}

TEST(ShellOpen, AnUnknownSchemeFailsQuietlyWithItsError) {
  shell::ShellError error;
  EXPECT_FALSE(shell::ShellOpen(L"nosuchscheme-iv:thing", 10, L"", L"", L"open", nullptr, &error));
  EXPECT_EQ(error.number, -2147220456L + 31);
  EXPECT_EQ(error.message, "No application is associated with this file type.");
  EXPECT_NE(error.source.find(".GShell"), std::string::npos);
}

}  // namespace iv
