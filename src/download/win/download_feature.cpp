#include "download/win/download_feature.h"

#include <optional>

#include "base/win/files.h"
#include "base/win/utf.h"
#include "download/core/handoff.h"
#include "download/core/link.h"
#include "download/core/names.h"
#include "download/win/frmUpdate.h"
#include "ui/win/forms.h"
#include "ui/win/ids.h"

namespace iv::download {

namespace {

// The queue of a download whose copy became the main copy itself; its main window
// adds it once loaded.
std::optional<Queue>& Adopted() {
  static std::optional<Queue> queue;
  return queue;
}

class DownloadFeature : public ui::Feature {
 public:
  explicit DownloadFeature(ui::Host& host)
      : host_(host), deferred_(RegisterWindowMessageW(L"Iconvane.DownloadHandOffDone")) {}

  void OnLoadStep(ui::LoadStep step) override {
    if (step == ui::LoadStep::RegisterProtocol) RegisterProtocol(host_.Store(), kScheme, Narrow(ExePath()));
    if (step == ui::LoadStep::End && Adopted()) AddAdoptedQueue();
  }

  bool OnCommand(int id, int code, HWND) override {
    if (id != ids::cmdUpdate || code != BN_CLICKED) return false;
    cmdUpdate_Click();
    return true;
  }

  bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    result = 0;
    if (msg == kMsgAddToRotation) {
      // The sender waits in SendMessage; the rest runs once it is released.
      pending_.push_back(TakeQueue());
      PostMessageW(host_.MainWindow(), deferred_, 0, 0);
      return true;
    }
    if (msg == kMsgNewCategory) {
      ShowCategory(TakeQueue().dir);
      return true;
    }
    if (msg == deferred_ && deferred_ != 0) {
      std::vector<Queue> queues = std::move(pending_);
      pending_.clear();
      for (const Queue& queue : queues) {
        ShowCategory(queue.dir);
        if (!queue.entries.empty()) host_.AppendToRotation(queue.entries);
      }
      return true;
    }
    return false;
  }

  // Unloading (not just destroying) the update window keeps the program's list of
  // loaded windows right, so the program can end.
  void OnUnload() override {
    if (update_ && update_->hwnd()) update_->Unload(ui::kFormCode);
  }

 private:
  // The queue is cleared as soon as it is read: a second downloading copy may write
  // its own queue before the deferred step runs, and that one must survive. Without
  // the queue key the rotation section can also be rewritten whole.
  Queue TakeQueue() {
    Queue queue = ReadQueue(host_.Store());
    ClearQueue(host_.Store());
    return queue;
  }

  void AddAdoptedQueue() {
    const Queue queue = std::move(*Adopted());
    Adopted().reset();
    // Another copy may have handed over a queue of its own since; that one is not ours.
    const Queue stored = ReadQueue(host_.Store());
    if (stored.dir == queue.dir && stored.entries == queue.entries) ClearQueue(host_.Store());
    ShowCategory(queue.dir);
    if (!queue.entries.empty()) host_.AppendToRotation(queue.entries);
  }

  void ShowCategory(const std::string& dir) {
    if (IsSafeName(dir)) host_.ShowCategory(dir);
  }

  void cmdUpdate_Click() {
    if (update_ && update_->hwnd()) {
      ui::ShowForm(update_->hwnd());
      return;
    }
    update_ = std::make_unique<frmUpdate>(host_.Store(), host_.ProgramFolder(), [this] { host_.RefreshCategories(); });
    if (!update_->Load()) update_.reset();
  }

  ui::Host& host_;
  const UINT deferred_;
  std::vector<Queue> pending_;
  std::unique_ptr<frmUpdate> update_;
};

}  // namespace

void AdoptQueueOnLoad(Queue queue) { Adopted() = std::move(queue); }

std::unique_ptr<ui::Feature> MakeDownloadFeature(ui::Host& host) { return std::make_unique<DownloadFeature>(host); }

}  // namespace iv::download
