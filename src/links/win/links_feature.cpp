#include "links/win/links_feature.h"

#include <optional>

#include "base/win/utf.h"
#include "download/core/server.h"
#include "fader/core/fader.h"
#include "links/core/links.h"
#include "links/win/command_bar.h"
#include "links/win/feature_button.h"
#include "links/win/frmAbout.h"
#include "shell/win/shell_open.h"
#include "ui/win/ids.h"

namespace iv::links {

bool OpenPage(const std::string& url) { return shell::ShellOpen(Widen(url)); }

namespace {

constexpr UINT kAdInterval = 100;
constexpr COLORREF kHoverColor = 0xFF0000;  // blue, red in the low byte

class LinksFeature : public ui::Feature {
 public:
  explicit LinksFeature(ui::Host& host) : host_(host) {
    host_.Hooks().showAbout = [] { ShowAbout(); };
  }
  ~LinksFeature() override { host_.Hooks().showAbout = nullptr; }

  void OnCreate() override {
    SetToolHandler(host_.Control(ids::ABIcons), [this](const std::string& tool) { ABIcons_ToolClick(tool); });
    AttachFeatureButton(host_.Control(ids::cmdwFeatures),
                        {[this] { cmdwFeatures_PointerEnter(); }, [this] { cmdwFeatures_PointerLeave(); }});
  }

  void OnLoadStep(ui::LoadStep step) override {
    if (step == ui::LoadStep::AdColors) BuildAdColors();
    if (step == ui::LoadStep::FeatureCaption) SetWindowTextW(host_.Control(ids::cmdwFeatures), Widen(kFeatureText).c_str());
  }

  bool OnCommand(int id, int code, HWND /*ctl*/) override {
    switch (id) {
      case ids::cmdHelp:
        if (code != BN_CLICKED) return false;
        OpenPage(download::ServerUrl(host_.Store(), download::kHelpPath));
        return true;
      case ids::cmdAd:
      case ids::cmdAIMZC:
        if (code != BN_CLICKED) return false;
        OpenPage(ZephyrchatUrl("/"));
        return true;
      case ids::lblURL:
        if (code != STN_CLICKED) return false;
        OpenPage(MakerUrl("/"));
        return true;
      case ids::cmdwFeatures:
        if (code != BN_CLICKED) return false;
        if (const std::string tool = TrackBand(host_.MainWindow()); !tool.empty()) ABIcons_ToolClick(tool);
        return true;
    }
    return false;
  }

  void OnTimer(int timerId) override {
    if (timerId != ids::TmrAd || !cycle_) return;
    const HWND button = host_.Control(ids::cmdwFeatures);
    if (const auto color = cycle_->Tick()) SetFeatureColor(button, static_cast<COLORREF>(*color));
    ScrollFeatureText(button);
  }

  void OnVisible(bool visible) override {
    visible_ = visible;
    UpdateTimer();
  }

  void OnUnload() override {
    cycle_.reset();
    UpdateTimer();
    DetachFeatureButton(host_.Control(ids::cmdwFeatures));
  }

 private:
  void BuildAdColors() {
    cycle_.emplace(fader::BuildAdColors());
    UpdateTimer();
  }

  // The fade runs only where it can be seen: on screen and not under the pointer.
  void UpdateTimer() {
    if (cycle_ && visible_ && !hovered_)
      SetTimer(host_.MainWindow(), ids::TmrAd, kAdInterval, nullptr);
    else
      KillTimer(host_.MainWindow(), ids::TmrAd);
  }

  void ABIcons_ToolClick(const std::string& tool) {
    const ToolAction action = ActionFor(tool, host_.Store());
    if (action.kind == ToolAction::Kind::OpenUrl) OpenPage(action.url);
    else if (action.kind == ToolAction::Kind::ShowAbout) ShowAbout();
  }

  // While the pointer is on the button the fade rests and the text shows in blue;
  // it goes on from the same step when the pointer leaves.
  void cmdwFeatures_PointerEnter() {
    hovered_ = true;
    UpdateTimer();
    SetFeatureColor(host_.Control(ids::cmdwFeatures), kHoverColor);
  }

  void cmdwFeatures_PointerLeave() {
    hovered_ = false;
    UpdateTimer();
  }

  ui::Host& host_;
  std::optional<fader::AdCycle> cycle_;
  bool visible_ = false;
  bool hovered_ = false;
};

}  // namespace

std::unique_ptr<ui::Feature> MakeLinksFeature(ui::Host& host) { return std::make_unique<LinksFeature>(host); }

}  // namespace iv::links
