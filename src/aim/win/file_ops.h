// The small file helpers the applier uses on AIM's files and on "tmp.gif".
#pragma once
#include <string>

namespace iv::aim {

// True when a find-first-file search on the path (wildcards allowed) finds something.
bool FileExists(const std::wstring& path);
// 0 normal, 1 read-only; only the first 255 characters of the path are used.
bool SetFileAttr(const std::wstring& path, int attributes);
// 2 hidden, 1 read-only, 0 otherwise (a missing file reads as 0).
int GetFileAttrKind(const std::wstring& path);
// Copies over an existing target, unless that target is hidden or a system file.
bool CopyOver(const std::wstring& from, const std::wstring& to);

// Deletes the "ivhook.dll.*.old" copies an upgrade moved aside while AIM held them;
// one still held stays for a later start. Returns how many are left.
[[nodiscard]] int DeleteMovedAsideHooks(const std::wstring& folder);

}  // namespace iv::aim
