#include "library/win/import_ui.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <thread>

#include "base/core/text.h"
#include "base/win/handles.h"
#include "base/win/pump.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "library/core/import_report.h"
#include "library/core/safety.h"
#include "library/win/import.h"
#include "msgbox/win/msgbox.h"
#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::library {

namespace {

enum : UINT { kMsgProgress = WM_APP + 1 };
enum : int { kIdLabel = 10, kIdBar = 11, kIdCancel = IDCANCEL };
constexpr int kClientW = 360, kClientH = 104;

// What the worker and the window share. The worker writes results[i] before it
// starts on file i + 1; the window reads them only after the worker has ended.
struct Batch {
  std::vector<std::wstring> files;
  std::wstring folder;
  std::atomic<bool> cancel{false};
  std::vector<ImportResult> results;
  std::vector<bool> processed;
};

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

class frmImport final : public Window {
 public:
  explicit frmImport(Batch& batch) : batch_(batch) {}

  bool Load(HWND owner) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT rc{0, 0, kClientW, kClientH};
    AdjustWindowRectEx(&rc, style, FALSE, 0);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    RECT over{};
    GetWindowRect(owner, &over);
    const int x = (over.left + over.right - w) / 2, y = (over.top + over.bottom - h) / 2;
    if (!Create(kImportWindowClass, L"Importing Pictures", style, 0, x, y, w, h, owner, nullptr)) return false;
    ShowWindow(hwnd(), SW_SHOW);
    return true;
  }

 protected:
  bool OnCreate() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    label_ = CreateControl(hwnd(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 10, 10, kClientW - 20, 18,
                           kIdLabel);
    bar_ = CreateControl(hwnd(), PROGRESS_CLASSW, L"", PBS_SMOOTH, 10, 34, kClientW - 20, 18, kIdBar);
    SendMessageW(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(batch_.files.size()));
    const int left = (kClientW - 100) / 2;
    aolbutton::Create(hwnd(), kIdCancel, L"Cancel", RECT{left, 64, left + 100, 92});
    ShowProgress(0);
    return true;
  }

  bool OnCommand(int id, int code, HWND) override {
    if (id != kIdCancel || code != BN_CLICKED) return false;
    Cancel();
    return true;
  }

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kMsgProgress) {
      ShowProgress(static_cast<int>(wp));
      return 0;
    }
    if (msg == WM_CLOSE) {  // closing the window is cancelling; it goes when the worker ends
      Cancel();
      return 0;
    }
    return Window::WndProc(msg, wp, lp);
  }

 private:
  void ShowProgress(int index) {
    SendMessageW(bar_, PBM_SETPOS, index, 0);
    if (batch_.cancel || index >= static_cast<int>(batch_.files.size())) return;
    const std::wstring text = L"Importing " + std::to_wstring(index + 1) + L" of " +
                              std::to_wstring(batch_.files.size()) + L": " + FileNameOf(batch_.files[index]);
    SetWindowTextW(label_, text.c_str());
  }

  void Cancel() {
    batch_.cancel = true;
    SetWindowTextW(label_, L"Cancelling...");
  }

  Batch& batch_;
  HWND label_ = nullptr, bar_ = nullptr;
};

void RunWorker(Batch& batch, HWND progress, HANDLE done) {
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  {
    const auto wic = MakeWicFactory();
    for (size_t i = 0; i < batch.files.size() && !batch.cancel; ++i) {
      PostMessageW(progress, kMsgProgress, i, 0);
      batch.results[i] = ImportPicture(wic.Get(), batch.files[i], batch.folder, batch.cancel);
      batch.processed[i] = !batch.results[i].cancelled;
    }
    PostMessageW(progress, kMsgProgress, batch.files.size(), 0);
  }
  if (com) CoUninitialize();
  SetEvent(done);
}

// Keeps the window answering until the worker signals `done`. After WM_QUIT (left
// queued for the outer loop) the worker is cancelled and awaited without pumping.
void AwaitWorker(HANDLE done, Batch& batch, HWND progress) {
  const Pumped p = PumpUntil([&] {
    if (!IsWindow(progress)) batch.cancel = true;  // the program is closing
    return WaitForSingleObject(done, 0) != WAIT_TIMEOUT;
  }, INFINITE, done);
  if (p.end != PumpEnd::Quit) return;
  batch.cancel = true;
  WaitForSingleObject(done, INFINITE);
}

// Runs the import with the progress window; owner is disabled meanwhile.
void RunBatch(HWND owner, Batch& batch) {
  batch.results.resize(batch.files.size());
  batch.processed.assign(batch.files.size(), false);
  UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return;
  auto progress = std::make_unique<frmImport>(batch);
  progress->Load(owner);
  const bool wasEnabled = IsWindowEnabled(owner) != FALSE;
  if (wasEnabled) EnableWindow(owner, FALSE);
  std::thread worker(RunWorker, std::ref(batch), progress->hwnd(), done.get());
  AwaitWorker(done.get(), batch, progress->hwnd());
  worker.join();
  if (wasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (progress->hwnd()) DestroyWindow(progress->hwnd());
}

// The folder's name as the file system spells it ("cats" typed, "Cats" on disk).
std::wstring NameOnDisk(const std::wstring& root, const std::wstring& name) {
  WIN32_FIND_DATAW data{};
  const UniqueFind find(FindFirstFileW((root + L"\\" + name).c_str(), &data));
  return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? std::wstring(data.cFileName) : name;
}

struct Category {
  std::wstring name;
  bool made = false;  // the folder did not exist before
};

// Asks for the category until the name is usable; empty when the user cancelled.
Category ChooseCategory(HWND owner, const std::wstring& root, int count, std::wstring suggested,
                        const ImportServices& services) {
  for (;;) {
    const std::wstring name = Widen(
        Trim(Narrow(services.askText ? services.askText(owner, ImportCategoryPrompt(count), suggested) : std::wstring())));
    if (name.empty()) return {};
    if (!IsSafeName(Narrow(name))) {
      if (services.tell) services.tell(owner, BadCategoryPrompt(Narrow(name)));
      suggested = name;
      continue;
    }
    CreateDirectoryW(root.c_str(), nullptr);  // the library may not exist yet
    Category c;
    c.made = CreateDirectoryW((root + L"\\" + name).c_str(), nullptr) != FALSE;
    if (!c.made && GetLastError() != ERROR_ALREADY_EXISTS) {
      if (services.tell) services.tell(owner, BadCategoryPrompt(Narrow(name)));
      suggested = name;
      continue;
    }
    c.name = NameOnDisk(root, name);
    return c;
  }
}

std::vector<std::wstring> ChooseFiles(HWND owner) {
  std::wstring buffer(64 * 1024, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = L"Pictures (PNG, JPEG, BMP, GIF)\0*.png;*.jpg;*.jpeg;*.jpe;*.jfif;*.bmp;*.dib;*.gif\0"
                    L"All Files\0*.*\0";
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = L"Import Pictures";
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return {};
  // One file: its path. Several: the folder, then each name, ending in an empty one.
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer.c_str(); *p; p += wcslen(p) + 1) parts.emplace_back(p);
  if (parts.size() <= 1) return parts;
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(parts[0] + L"\\" + parts[i]);
  return files;
}

struct DropTarget {
  std::function<void(const std::vector<std::wstring>&, int)> onDrop;
};

LRESULT CALLBACK DropProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* target = reinterpret_cast<DropTarget*>(data);
  if (msg == WM_DROPFILES) {
    const auto drop = reinterpret_cast<HDROP>(wp);
    std::vector<std::wstring> files;
    for (UINT i = 0, n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
      std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
      path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
      files.push_back(path);
    }
    LVHITTESTINFO hit{};
    DragQueryPoint(drop, &hit.pt);
    DragFinish(drop);
    const int row = ListView_HitTest(hwnd, &hit);
    if (!files.empty() && target->onDrop) target->onDrop(files, row);
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, DropProc, id);
    delete target;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

ImportServices DefaultImportServices() {
  ImportServices s;
  s.choose = ChooseFiles;
  s.askText = [](HWND owner, const std::string& prompt, const std::wstring& suggested) {
    return msgbox::ShowMsgBox(Widen(prompt), msgbox::kIconQuestion, msgbox::kButtonsOKCancel, msgbox::kDefaultTitle,
                              true, owner, nullptr, false, false, {}, {}, suggested)
        .text;
  };
  s.tell = [](HWND owner, const std::string& text) {
    msgbox::ShowMsgBox(Widen(text), msgbox::kIconInformation, msgbox::kButtonsOK, msgbox::kDefaultTitle, false,
                       owner);
  };
  return s;
}

void ImportPictures(HWND owner, const std::wstring& libraryRoot, const std::vector<std::wstring>& files,
                    const std::wstring& suggested, const ImportServices& services,
                    const std::function<void(const std::wstring& category)>& show) {
  if (files.empty()) return;
  const Category category =
      ChooseCategory(owner, libraryRoot, static_cast<int>(files.size()), suggested, services);
  if (category.name.empty()) return;
  Batch batch;
  batch.files = files;
  batch.folder = libraryRoot + L"\\" + category.name;
  RunBatch(owner, batch);
  if (!IsWindow(owner)) return;  // the program closed meanwhile: no views to show anything in
  std::vector<ImportLine> lines;
  int imported = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!batch.processed[i]) continue;
    const ImportResult& r = batch.results[i];
    imported += r.ok ? 1 : 0;
    lines.push_back({Narrow(FileNameOf(files[i])), r.ok, r.ok ? r.note : r.problem});
  }
  // A category made for pictures that all failed would only be an empty folder.
  if (imported == 0 && category.made) RemoveDirectoryW(batch.folder.c_str());
  if (imported > 0 && show) show(category.name);
  if (services.tell)
    services.tell(owner, ImportSummary(lines, static_cast<int>(files.size()), Narrow(category.name),
                                       batch.cancel.load()));
}

void AcceptDroppedFiles(HWND view, std::function<void(const std::vector<std::wstring>&, int row)> onDrop) {
  if (!view) return;
  auto* target = new DropTarget{std::move(onDrop)};
  if (!SetWindowSubclass(view, DropProc, 1, reinterpret_cast<DWORD_PTR>(target))) {
    delete target;
    return;
  }
  DragAcceptFiles(view, TRUE);
}

}  // namespace iv::library
