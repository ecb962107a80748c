// The user's side of importing pictures: choosing files, dropping them on the library
// views, choosing the category, and the progress window whose "Cancel" stops the
// import. The pictures are made into icons on a worker thread, so the window keeps
// answering while a hundred photos are imported.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace iv::library {

struct ImportServices {
  // The pictures the user chooses to import; empty when cancelled.
  std::function<std::vector<std::wstring>(HWND owner)> choose;
  // Asks a marked-up question with an input box offering `suggested`; the typed text,
  // empty when cancelled.
  std::function<std::wstring(HWND owner, const std::string& prompt, const std::wstring& suggested)> askText;
  // Tells a marked-up notice.
  std::function<void(HWND owner, const std::string& text)> tell;
};

// The dialogs and message boxes of the running program.
ImportServices DefaultImportServices();

// Imports `files` into a category of the library at `libraryRoot`: asks which
// (offering `suggested`), shows progress, calls `show` with the category when any
// picture went into it, then tells what became of each picture.
void ImportPictures(HWND owner, const std::wstring& libraryRoot, const std::vector<std::wstring>& files,
                    const std::wstring& suggested, const ImportServices& services,
                    const std::function<void(const std::wstring& category)>& show);

// Lets `view` take files dropped from the file manager; `onDrop` gets their paths and
// the view's row under the drop point (-1 for none). Undone when the view is destroyed.
void AcceptDroppedFiles(HWND view, std::function<void(const std::vector<std::wstring>&, int row)> onDrop);

// The progress window's class; its "Cancel" button answers BM_CLICK.
inline constexpr wchar_t kImportWindowClass[] = L"frmImport";

}  // namespace iv::library
