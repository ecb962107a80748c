#include "fileinfo/win/clsFiles.h"

#include <shellapi.h>

#include <vector>

#include "base/win/utf.h"
#include "fileinfo/core/file_text.h"
#include "fileinfo/win/notice.h"

namespace iv::fileinfo {

namespace {

constexpr wchar_t kMissingFile[] = L"This file does not exist.  Can not get it's information.";
constexpr wchar_t kMissingShort[] = L"Could not find this file to convert to 16bit file name.";

std::wstring W(const std::string& s) { return Widen(s); }

std::wstring Upper(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

}  // namespace

std::wstring FormatFileTime(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return L"";
  wchar_t date[128] = L"", time[128] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, date, 128);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128);
  return std::wstring(date) + L" " + time;
}

clsFiles::clsFiles(Notice notice) : notice_(notice ? std::move(notice) : DefaultNotice()) {}

bool clsFiles::SetFilePath(const std::wstring& path) {
  if (!CheckIfFileExists(path)) {
    if (notice_) notice_(path + L"\r\r" + kMissingFile);
    return false;
  }
  ClearFileInfo();
  filePath_ = path;
  RefreshInfo();
  return true;
}

void clsFiles::ClearFileInfo() {
  // The icon stays owned until the next refresh or the object's end.
  for (std::wstring* s : {&filePath_, &path32_, &name32_, &path16_, &name16_, &location_, &extension_, &sizeText_,
                          &compressedText_, &created_, &modified_, &accessed_, &type_, &targetOs_, &language_,
                          &major_, &minor_, &rev_})
    s->clear();
  for (std::wstring& s : strings_) s.clear();
  size_ = compressed_ = 0;
  attrs_ = 0;
}

bool clsFiles::CheckIfFileExists(const std::wstring& strFullPath) const {
  if (strFullPath.empty()) return false;
  const UniqueFile file(CreateFileW(strFullPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                    FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

std::wstring clsFiles::ConvertLong2Short(const std::wstring& strFullPath) const {
  std::vector<wchar_t> buf(1024);
  const DWORD n = GetShortPathNameW(strFullPath.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
  if (n == 0 || n >= buf.size()) {
    if (notice_) notice_(strFullPath + L"\r\r" + kMissingShort);
    return L"";
  }
  return Upper(std::wstring(buf.data(), n));
}

void clsFiles::RefreshInfo() {
  if (filePath_.empty()) return;
  {
    const UniqueFind search(FindFirstFileW(filePath_.c_str(), &find_));
    if (!search) return;
  }
  ReadNames();
  size_ = static_cast<int32_t>(find_.nFileSizeLow);
  sizeText_ = W(FormatSize(size_));
  created_ = FormatFileTime(find_.ftCreationTime);
  modified_ = FormatFileTime(find_.ftLastWriteTime);
  accessed_ = FormatFileTime(find_.ftLastAccessTime);
  ReadShellInfo();
  attrs_ = find_.dwFileAttributes;
  if (!fATTR_Compressed()) {
    compressed_ = 0;
    compressedText_ = L"Not Compressed";
  } else {
    compressed_ = static_cast<int32_t>(GetCompressedFileSizeW(filePath_.c_str(), nullptr));
    compressedText_ = W(FormatSize(compressed_));
  }
  ReadVersionResource();
}

void clsFiles::ReadNames() {
  path32_ = filePath_;
  name32_ = Widen(StripFileFromPath(Narrow(filePath_)));
  path16_ = ConvertLong2Short(filePath_);
  name16_ = Widen(StripFileFromPath(Narrow(path16_)));
  location_ = path16_.substr(0, path16_.size() - name16_.size());
  extension_ = Widen(StripFileExtention(Narrow(name16_)));
}

void clsFiles::ReadShellInfo() {
  SHFILEINFOW info{};
  icon_.reset();
  if (SHGetFileInfoW(filePath_.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME))
    icon_.reset(info.hIcon);
  const std::string field = Narrow(std::wstring(info.szTypeName, std::size(info.szTypeName)));
  type_ = Widen(TypeNameFromField(field, Narrow(extension_)));
}

void clsFiles::ReadVersionResource() {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(filePath_.c_str(), &handle);
  if (size == 0) return;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(filePath_.c_str(), 0, size, data.data())) return;

  void* ptr = nullptr;
  UINT len = 0;
  if (VerQueryValueW(data.data(), L"\\", &ptr, &len) && len >= sizeof(VS_FIXEDFILEINFO))
    targetOs_ = W(TargetOsText(static_cast<VS_FIXEDFILEINFO*>(ptr)->dwFileOS));
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &ptr, &len) || len < 4) return;
  uint8_t bytes[4];
  memcpy(bytes, ptr, 4);
  const std::wstring prefix = W(StringTablePrefix(bytes));
  wchar_t name[256] = L"";
  if (VerLanguageNameW(TranslationLanguage(bytes), name, 256) != 0) language_ = name;

  static const wchar_t* const kNames[9] = {L"CompanyName",    L"FileDescription", L"FileVersion",
                                           L"InternalName",   L"LegalCopyright",  L"LegalTrademarks",
                                           L"OriginalFilename", L"ProductName",   L"ProductVersion"};
  for (int i = 0; i < 9; ++i) {
    if (VerQueryValueW(data.data(), (prefix + kNames[i]).c_str(), &ptr, &len) && ptr && len > 0) {
      const auto* text = static_cast<const wchar_t*>(ptr);
      strings_[i] = std::wstring(text, wcsnlen(text, len));
    }
    if (i == 2) {
      const VersionParts parts = SplitVersion(Narrow(strings_[2]));
      major_ = std::to_wstring(parts.major);
      minor_ = std::to_wstring(parts.minor);
      rev_ = W(NumberText(parts.rev));
    }
  }
}

bool clsFiles::SetAttribute(DWORD bit, bool on) {
  constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_HIDDEN |
                              FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
  DWORD wanted = attrs_ & kSettable;
  wanted = on ? (wanted | bit) : (wanted & ~bit);
  wanted &= kSettable;
  if (on) attrs_ |= bit;
  else attrs_ &= ~bit;
  attrs_ &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
  return SetFileAttributesW(filePath_.c_str(), wanted == 0 ? FILE_ATTRIBUTE_NORMAL : wanted) != 0;
}

void clsFiles::GetFileIcon(HDC hdc, int x, int y, HICON hIcon) const {
  if (hIcon && icon_) DrawIcon(hdc, x, y, icon_.get());
}

}  // namespace iv::fileinfo
