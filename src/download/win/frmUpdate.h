// The category update window: fetches the server's category list into
// Categories.dat and makes the main window reload it.
#pragma once
#include <functional>
#include <string>

#include "download/win/inet.h"
#include "download/win/ribbon.h"
#include "settings/core/store.h"
#include "ui/win/form.h"

namespace iv::download {

class frmUpdate : public ui::Form {
 public:
  // 'refreshCategories' runs after a successful update.
  frmUpdate(const settings::Store& store, std::wstring programFolder, std::function<void()> refreshCategories);

  // Creates the window centred and topmost; the first tick fetches.
  bool Load();

 protected:
  bool OnCreate() override;
  bool OnCommand(int id, int code, HWND ctl) override;
  void OnTimer(UINT_PTR id) override;
  bool QueryUnload(int mode) override;

 private:
  void TmrVersion_Timer();
  void cmdUpdate_Click();

  const settings::Store& store_;
  std::wstring programFolder_;
  std::function<void()> refreshCategories_;
  bool inTick_ = false, closing_ = false;
  Inet Inet_;
  Ribbon Updates;
  HWND cmdUpdate = nullptr;
};

}  // namespace iv::download
