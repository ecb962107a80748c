// Information about one file: names (long and short), sizes, dates, attributes,
// the shell's type name and icon, and the strings of its version resource.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "base/win/handles.h"

namespace iv::fileinfo {

class clsFiles {
 public:
  // Shows a message about a file that cannot be read (prompt, icon 48).
  using Notice = std::function<void(const std::wstring& prompt)>;

  // Without a notice the program's message box is used.
  explicit clsFiles(Notice notice = nullptr);
  clsFiles(const clsFiles&) = delete;
  clsFiles& operator=(const clsFiles&) = delete;

  // Loads the file's information; a missing file is reported and leaves the object
  // as it was (false).
  bool SetFilePath(const std::wstring& path);
  const std::wstring& FilePath() const { return filePath_; }

  void ClearFileInfo();
  void RefreshInfo();
  bool CheckIfFileExists(const std::wstring& strFullPath) const;
  std::wstring ConvertLong2Short(const std::wstring& strFullPath) const;
  // Draws fIconH at (x, y) when hIcon is not 0.
  void GetFileIcon(HDC hdc, int x, int y, HICON hIcon) const;

  // Changes one attribute bit (FILE_ATTRIBUTE_*) of the file, keeping the others
  // that the object holds; false when the platform refused.
  bool SetAttribute(DWORD bit, bool on);

  const std::wstring& fPath32bit() const { return path32_; }
  const std::wstring& fName32bit() const { return name32_; }
  const std::wstring& fPath16bit() const { return path16_; }
  const std::wstring& fName16bit() const { return name16_; }
  const std::wstring& fLocation() const { return location_; }
  const std::wstring& fFileExtention() const { return extension_; }
  int32_t fSize() const { return size_; }
  const std::wstring& fSizeFormated() const { return sizeText_; }
  int32_t fSizeCompressed() const { return compressed_; }
  const std::wstring& fSizeCompressedFormated() const { return compressedText_; }
  const std::wstring& fDateCreated() const { return created_; }
  const std::wstring& fDateModified() const { return modified_; }
  const std::wstring& fDateAccessed() const { return accessed_; }
  const std::wstring& fType() const { return type_; }
  HICON fIconH() const { return icon_.get(); }
  bool fATTR_Archive() const { return attrs_ & FILE_ATTRIBUTE_ARCHIVE; }
  bool fATTR_Compressed() const { return attrs_ & FILE_ATTRIBUTE_COMPRESSED; }
  bool fATTR_Hidden() const { return attrs_ & FILE_ATTRIBUTE_HIDDEN; }
  bool fATTR_Normal() const { return attrs_ & FILE_ATTRIBUTE_NORMAL; }
  bool fATTR_ReadOnly() const { return attrs_ & FILE_ATTRIBUTE_READONLY; }
  bool fATTR_System() const { return attrs_ & FILE_ATTRIBUTE_SYSTEM; }
  bool fATTR_Temporary() const { return attrs_ & FILE_ATTRIBUTE_TEMPORARY; }
  const std::wstring& fTargetOS() const { return targetOs_; }
  const std::wstring& fLanguage() const { return language_; }
  const std::wstring& fCompanyName() const { return strings_[0]; }
  const std::wstring& fDecription() const { return strings_[1]; }
  const std::wstring& fVersion() const { return strings_[2]; }
  const std::wstring& fInternalName() const { return strings_[3]; }
  const std::wstring& fCopyright() const { return strings_[4]; }
  const std::wstring& fLegalTrademark() const { return strings_[5]; }
  const std::wstring& fOriginalFileName() const { return strings_[6]; }
  const std::wstring& fProductName() const { return strings_[7]; }
  const std::wstring& fProductVersion() const { return strings_[8]; }
  const std::wstring& fVersion_Major() const { return major_; }
  const std::wstring& fVersion_Minor() const { return minor_; }
  const std::wstring& fVersion_Rev() const { return rev_; }

 private:
  void ReadNames();
  void ReadShellInfo();
  void ReadVersionResource();

  Notice notice_;
  std::wstring filePath_, path32_, name32_, path16_, name16_, location_, extension_;
  int32_t size_ = 0, compressed_ = 0;
  std::wstring sizeText_, compressedText_, created_, modified_, accessed_, type_;
  UniqueIcon icon_;
  DWORD attrs_ = 0;
  std::wstring targetOs_, language_;
  std::wstring strings_[9];
  std::wstring major_, minor_, rev_;
  WIN32_FIND_DATAW find_{};
};

// "Sunday, December 6, 2026 3:48:49 PM" in the system's long date and time formats.
std::wstring FormatFileTime(const FILETIME& utc);

}  // namespace iv::fileinfo
