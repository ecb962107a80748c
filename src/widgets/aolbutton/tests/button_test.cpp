#include "widgets/aolbutton/core/button.h"

#include <gtest/gtest.h>

#include "widgets/aolbutton/tests/fake_surface.h"

namespace iv::aolbutton {
namespace {

using E = Event;

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.InitNew("cmdTest");
    s.Forget();
  }
  FakeSurface s;
  Button button{s};
};

}  // namespace

// ---- Properties ----

TEST_F(ButtonTest, NewInstanceTakesTheSchemeAndItsName) {
  EXPECT_TRUE(button.AOLStyle());
  EXPECT_EQ(button.ButtonStyle(), 0);
  EXPECT_EQ(button.BackColor(), 0xAA6D01u);
  EXPECT_EQ(button.Caption(), "cmdTest");
  EXPECT_TRUE(button.ButtonShadow());
  EXPECT_TRUE(button.DrawFocusRect());
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(button.GetFont().name, "Tahoma");
}

TEST_F(ButtonTest, OnlyTheSchemeColourKeepsTheScheme) {
  button.SetBackColor(0xAA6D01);
  EXPECT_TRUE(button.AOLStyle());
  button.SetBackColor(0x123456);
  EXPECT_FALSE(button.AOLStyle());
  EXPECT_EQ(button.BackColor(), 0x123456u);
  EXPECT_EQ(s.LastClear(), 0x123456u);
  EXPECT_EQ(s.changed, (std::vector<std::string>{"BackColor", "AOLStyle", "BackColor"}));
}

TEST_F(ButtonTest, EachColourOffItsSchemeValueSwitchesTheSchemeOffAndSettersRepaint) {
  const auto check = [&](auto set, Color schemeValue) {
    button.SetAOLStyle(true);
    (button.*set)(schemeValue);
    EXPECT_TRUE(button.AOLStyle());
    s.Forget();
    (button.*set)(schemeValue ^ 1);
    EXPECT_FALSE(button.AOLStyle());
    EXPECT_TRUE(s.LastClear());  // repainted in the new colour
  };
  check(&Button::SetBackColorClick, kAolBackClick);
  check(&Button::SetBorderLight, kAolBorderLight);
  check(&Button::SetBorderDark, kAolBorderDark);
  check(&Button::SetForeColor, kAolFore);
  check(&Button::SetFocusBorder, kAolFocus);
  check(&Button::SetFocusBorderClicked, kAolFocusClicked);
  button.SetAOLStyle(true);
  button.SetDrawFocusRect(true);
  EXPECT_TRUE(button.AOLStyle());
  s.Forget();
  button.SetDrawFocusRect(false);
  EXPECT_FALSE(button.AOLStyle());
  EXPECT_TRUE(s.LastClear());
  // The other setters repaint too.
  for (const auto& set : std::vector<std::function<void()>>{[&] { button.SetButtonStyle(2); },
                                                             [&] { button.SetFocusInverseColor(true); },
                                                             [&] { button.SetAutoBorderLighten(true); },
                                                             [&] { button.SetFont(Font{"Arial", 9, false}); }}) {
    s.Forget();
    set();
    EXPECT_TRUE(s.LastClear());
  }
}

TEST_F(ButtonTest, AutoBorderLightenOwnsTheLightBorder) {
  button.SetAutoBorderLighten(true);
  const Color derived = LightenColor(0xAA6D01, 0.25f);
  EXPECT_EQ(button.BorderLight(), derived);
  button.SetBorderLight(0x00FF00);
  EXPECT_EQ(button.BorderLight(), derived);
  button.SetBackColor(0x808080);
  EXPECT_EQ(button.BorderLight(), 0xC0C0C0u);
}

TEST_F(ButtonTest, FocusInverseFollowsTheFaceColours) {
  button.SetFocusInverseColor(true);
  EXPECT_FALSE(button.AOLStyle());
  EXPECT_EQ(button.FocusBorder(), 0x5592FEu);
  button.SetBackColor(0x000000);
  EXPECT_EQ(button.FocusBorder(), 0xFFFFFFu);
  button.SetBackColorClick(0x808080);
  EXPECT_EQ(button.FocusBorderClicked(), DarkenColor(0x7F7F7F, 0.35f));
}

TEST_F(ButtonTest, SchemeOnRestoresEverything) {
  button.SetBackColor(1);
  button.SetBackColorClick(2);
  button.SetBorderDark(4);
  button.SetForeColor(5);
  button.SetFocusBorder(6);
  button.SetFocusBorderClicked(7);
  button.SetFocusInverseColor(true);
  button.SetAutoBorderLighten(true);
  button.SetDrawFocusRect(false);
  button.SetAOLStyle(true);
  EXPECT_TRUE(button.AOLStyle());
  EXPECT_EQ(button.BackColor(), kAolBack);
  EXPECT_EQ(button.BackColorClick(), kAolBackClick);
  EXPECT_EQ(button.BorderLight(), kAolBorderLight);
  EXPECT_EQ(button.BorderDark(), kAolBorderDark);
  EXPECT_EQ(button.ForeColor(), kAolFore);
  EXPECT_EQ(button.FocusBorder(), kAolFocus);
  EXPECT_EQ(button.FocusBorderClicked(), kAolFocusClicked);
  EXPECT_FALSE(button.FocusInverseColor());
  EXPECT_FALSE(button.AutoBorderLighten());
  EXPECT_TRUE(button.DrawFocusRect());
}

TEST_F(ButtonTest, FontGoesToTheSurfaceAndSchemeKeepsOnlyTheName) {
  button.SetFont(Font{"Arial", 12, true});
  EXPECT_EQ(button.SurfaceFont().name, "Arial");
  EXPECT_EQ(button.GetFont().size, 12);
  button.SetAOLStyle(true);
  EXPECT_EQ(button.GetFont().name, "Arial");
  EXPECT_TRUE(button.GetFont().bold);
}

// ---- Persistence ----

TEST_F(ButtonTest, SavedAndRestoredKeepsTheKnownQuirks) {
  button.SetCaption("OK");
  button.SetButtonStyle(2);
  button.SetBackColor(0x112233);
  button.SetFocusInverseColor(true);
  button.SetEnabled(true);
  button.SetButtonShadow(false);
  button.SetFont(Font{"Arial", 12, true});
  PropertyBag bag;
  button.WriteProperties(bag);
  EXPECT_EQ(bag.Names().front(), "Caption");
  EXPECT_EQ(bag.Find("enabled"), nullptr);  // written only when false
  EXPECT_NE(bag.Find("FOCUSINVERSECOLOR"), nullptr);

  FakeSurface s2;
  Button restored(s2);
  restored.ReadProperties(bag, "cmdOther");
  EXPECT_EQ(restored.Caption(), "OK");
  EXPECT_EQ(restored.ButtonStyle(), 2);
  EXPECT_FALSE(restored.ButtonShadow());
  EXPECT_EQ(restored.GetFont().name, "Arial");
  EXPECT_TRUE(restored.GetFont().bold);
  EXPECT_EQ(restored.BackColor(), 0x112233u);
  EXPECT_EQ(restored.FocusBorder(), InverseColor(0x112233));
  EXPECT_FALSE(restored.FocusInverseColor());  // read from a key never written
  EXPECT_FALSE(restored.AOLStyle());
  EXPECT_TRUE(restored.Enabled());
  EXPECT_EQ(s2.LastClear(), 0x112233u);
}

TEST_F(ButtonTest, MissingKeysTakeTheReadDefaults) {
  FakeSurface s2;
  Button restored(s2);
  restored.ReadProperties(PropertyBag{}, "cmdName");
  EXPECT_EQ(restored.Caption(), "cmdName");
  EXPECT_EQ(restored.ButtonStyle(), 1);
  EXPECT_EQ(restored.BackColor(), 0xAA6D00u);
  EXPECT_EQ(restored.FocusBorder(), 0x5894FFu);
  EXPECT_EQ(restored.FocusBorderClicked(), 0xFFFF88u);
  EXPECT_TRUE(restored.AOLStyle());
}

TEST_F(ButtonTest, UnreadableEntriesAreSkippedAndDisabledSurvives) {
  button.SetEnabled(false);
  PropertyBag bag;
  button.WriteProperties(bag);
  bag.Write("ButtonStyle", std::string("2x"));  // a number with more after it is no number
  bag.Write("Caption", int64_t{42});
  bag.Write("BackColor", true);  // True is the number -1: every bit set
  bag.Write("AutoBorderLighten", std::string("TRUE"));  // and a text in any case is read as a flag
  FakeSurface s2;
  Button restored(s2);
  restored.ReadProperties(bag, "x");
  EXPECT_EQ(restored.ButtonStyle(), 0);  // kept what it had
  EXPECT_EQ(restored.Caption(), "42");
  EXPECT_EQ(restored.BackColor(), 0xFFFFFFFFu);
  EXPECT_TRUE(restored.AutoBorderLighten());
  EXPECT_FALSE(restored.Enabled());
  EXPECT_FALSE(s2.enabled);
}

// ---- Interaction ----

TEST_F(ButtonTest, LeftClickRaisesDownUpClickAndShowsThePress) {
  button.MouseDown(1, 0, 100, 100);
  EXPECT_TRUE(s.capture);
  EXPECT_EQ(s.LastClear(), kAolBackClick);
  EXPECT_EQ(s.ops.back().color, kAolFocusClicked);
  button.MouseUp(1, 0, 100, 100);
  button.PlatformClick();
  EXPECT_EQ(s.events, (std::vector<E>{E::MouseDown, E::MouseUp, E::Click}));
  EXPECT_EQ(s.LastClear(), kAolBack);
  EXPECT_EQ(s.ops.back().color, kAolFocus);
}

TEST_F(ButtonTest, OnlyAPressAndAReleaseBothOnTheButtonClick) {
  const auto clicks = [&] { return std::count(s.events.begin(), s.events.end(), E::Click); };
  button.MouseDown(1, 0, 100, 100);
  button.MouseUp(1, 0, 100, 100);
  button.PlatformClick();
  ASSERT_EQ(clicks(), 1);
  // Pressed elsewhere, released here.
  button.MouseUp(1, 0, 100, 100);
  button.PlatformClick();
  EXPECT_EQ(clicks(), 1);
  // Pressed here, released outside, with or without the capture's moves.
  button.MouseDown(1, 0, 100, 100);
  button.MouseUp(1, 0, 1600, 100);
  button.PlatformClick();
  button.MouseDown(1, 0, 100, 100);
  button.MouseMove(1, 0, 100, 900);
  button.MouseUp(1, 0, 100, 900);
  button.PlatformClick();
  EXPECT_EQ(clicks(), 1);
  // Dragged out and back in before the release: a click.
  button.MouseDown(1, 0, 100, 100);
  button.MouseMove(1, 0, -300, 100);
  button.MouseMove(1, 0, 100, 100);
  button.MouseUp(1, 0, 100, 100);
  button.PlatformClick();
  EXPECT_EQ(clicks(), 2);
  // A second click reported for one press is no click.
  button.PlatformClick();
  EXPECT_EQ(clicks(), 2);
}

TEST_F(ButtonTest, RightClickRaisesNoClickAndDrawsNothingAndAHandlerMayMakeOne) {
  button.MouseDown(2, 0, 100, 100);
  button.MouseUp(2, 0, 100, 100);
  button.PlatformClick();
  EXPECT_EQ(s.events, (std::vector<E>{E::MouseDown, E::MouseUp}));
  EXPECT_TRUE(s.ops.empty());
  s.handler = [](E e, EventArgs& a) {
    if (e == E::MouseDown) a.button = 2;
  };
  button.MouseDown(1, 0, 0, 0);
  EXPECT_FALSE(s.capture);
  EXPECT_TRUE(s.ops.empty());
}

TEST_F(ButtonTest, SpaceBarPressesAndClicksOnRelease) {
  button.KeyUp(32, 0);  // a release whose press went to another window does nothing
  button.KeyDown(32, 0);
  EXPECT_EQ(s.LastClear(), kAolBackClick);
  EXPECT_FALSE(s.capture);
  EXPECT_TRUE(button.Pressed());
  button.MouseDown(1, 0, 0, 0);  // ignored while the space bar is held
  button.KeyUp(32, 0);
  EXPECT_EQ(s.events, (std::vector<E>{E::KeyUp, E::KeyDown, E::MouseDown, E::MouseDown, E::KeyUp, E::MouseUp, E::Click}));
  EXPECT_EQ(s.LastClear(), kAolBack);
  EXPECT_TRUE(s.handPointer);
  EXPECT_FALSE(button.Pressed());
}

TEST_F(ButtonTest, EnterClicksWithoutAPressedLook) {
  button.KeyPress(13);
  EXPECT_EQ(s.events, (std::vector<E>{E::KeyPress, E::Click}));
  EXPECT_TRUE(s.ops.empty());
  button.KeyPress(65);
  EXPECT_EQ(s.events.back(), E::KeyPress);
}

TEST_F(ButtonTest, DraggingOutAndBackReportsLeaveAndEnterOnce) {
  button.MouseDown(1, 0, 10, 10);
  button.MouseMove(1, 0, 2000, 10);
  EXPECT_EQ(s.LastClear(), kAolBack);
  button.MouseMove(1, 0, 2100, 10);
  button.MouseMove(1, 0, 10, 10);
  EXPECT_EQ(s.LastClear(), kAolBackClick);
  button.MouseMove(1, 0, 20, 10);
  button.MouseUp(1, 0, 20, 10);
  EXPECT_EQ(s.events, (std::vector<E>{E::MouseDown, E::MouseLeave, E::MouseEnter, E::MouseUp}));
  // A second trip out and back is reported again.
  s.Forget();
  button.MouseDown(1, 0, 10, 10);
  for (int i = 0; i < 2; ++i) {
    button.MouseMove(1, 0, 2000, 10);
    button.MouseMove(1, 0, 10, 10);
  }
  EXPECT_EQ(std::count(s.events.begin(), s.events.end(), E::MouseEnter), 2);
  s.Forget();
  button.PaintButton();  // pressed in the flat style, the shadow stays
  EXPECT_TRUE(std::any_of(s.ops.begin(), s.ops.end(), [](const DrawOp& op) { return op.color == 0x808080u; }));
  button.MouseUp(1, 0, 10, 10);
  // Moves without the capture or with another button are ignored.
  s.Forget();
  s.capture = false;
  button.MouseMove(1, 0, 5000, 5000);
  EXPECT_TRUE(s.events.empty());
}

TEST_F(ButtonTest, FloatingStyleSinksOntoTheShadowAndBack) {
  button.SetButtonStyle(1);
  s.Forget();
  button.MouseDown(1, 0, 10, 10);
  EXPECT_TRUE(button.Floated());
  EXPECT_EQ(s.moves, (std::vector<std::array<int, 4>>{{45, 45, -45, -45}}));
  EXPECT_EQ(s.LastClear(), std::nullopt);  // the picture moves, it is not redrawn
  button.MouseMove(1, 0, -30, -30);         // still over the place it sank from
  EXPECT_TRUE(button.Floated());
  button.MouseMove(1, 0, static_cast<float>(s.width), -30);  // the far end of that strip
  EXPECT_TRUE(button.Floated());
  button.MouseMove(1, 0, -100, 10);
  EXPECT_FALSE(button.Floated());
  button.MouseMove(1, 0, 10, 10);
  EXPECT_TRUE(button.Floated());
  s.Forget();
  button.PaintButton();  // sunk back in: the face covers the shadow, so none is drawn
  for (const DrawOp& op : s.ops) EXPECT_NE(op.color, 0x808080u);
  button.MouseUp(1, 0, 10, 10);
  EXPECT_FALSE(button.Floated());
  EXPECT_EQ(s.width, 1500);
  EXPECT_EQ(s.height, 450);
}

TEST_F(ButtonTest, LosingFocusWithSpaceHeldClicksWithTheMouseHeldReleasesWithoutClick) {
  button.KeyDown(32, 0);
  s.Forget();
  button.LostFocus();
  EXPECT_EQ(s.events, (std::vector<E>{E::KeyUp, E::MouseUp, E::Click, E::MouseUp}));
  EXPECT_FALSE(button.Pressed());
  s.Forget();
  button.MouseDown(1, 0, 0, 0);
  button.LostFocus();
  button.PlatformClick();
  EXPECT_FALSE(button.Pressed());
  EXPECT_EQ(s.LastClear(), kAolBack);
  EXPECT_EQ(std::count(s.events.begin(), s.events.end(), E::Click), 0);
}

TEST_F(ButtonTest, DoubleClickPressesAgain) {
  button.MouseDown(1, 0, 0, 0);
  button.MouseUp(1, 0, 0, 0);
  button.PlatformClick();
  button.PlatformDblClick();
  EXPECT_TRUE(button.Pressed());
  button.MouseUp(1, 0, 0, 0);
  EXPECT_EQ(s.events, (std::vector<E>{E::MouseDown, E::MouseUp, E::Click, E::DblClick, E::MouseDown, E::MouseUp}));
  // The right button neither clicks nor double-clicks.
  s.Forget();
  button.MouseDown(2, 0, 0, 0);
  button.MouseUp(2, 0, 0, 0);
  button.PlatformClick();
  button.PlatformDblClick();
  EXPECT_EQ(std::count(s.events.begin(), s.events.end(), E::DblClick), 0);
}

// ---- Drawing ----

TEST_F(ButtonTest, ShadowOnDrawsTheThreeGreysInsideTheContainerColour) {
  button.Resized();  // a resize repaints the window and keeps the picture at run time
  EXPECT_EQ(s.refreshes, 1);
  EXPECT_TRUE(s.ops.empty());
  button.PaintButton();
  const int w = 1455, h = 405;
  EXPECT_TRUE(s.HasFill(0, 0, w, 0, kAolBorderLight));
  EXPECT_TRUE(s.HasFill(w - 15, 0, w - 15, h, kAolBorderDark));
  EXPECT_TRUE(s.HasFill(w, 0, w + 30, 75, 0xC0C0C0));
  const DrawOp& text = s.ops.back();
  EXPECT_EQ(text.kind, DrawOp::Kind::Text);
  EXPECT_FLOAT_EQ(text.textX, 1455 / 2.0f - 7 * 90 / 2.0f);
  EXPECT_FLOAT_EQ(text.textY, 405 / 2.0f - 195 / 2.0f);
}

TEST_F(ButtonTest, ShadowOffPaintsEdgeToEdgeAndUnreadableContainerIsSkipped) {
  button.SetButtonShadow(false);
  EXPECT_TRUE(s.HasFill(0, 0, 1500, 0, kAolBorderLight));
  EXPECT_TRUE(s.HasFill(1485, 0, 1485, 450, kAolBorderDark));
  for (const DrawOp& op : s.ops) EXPECT_NE(op.color, 0x808080u);
  s.Forget();
  button.SetButtonShadow(true);
  s.container.reset();
  s.Forget();
  button.PaintButton();
  EXPECT_EQ(s.ops.size(), 1u + 4 + 6 + 1);
}

TEST_F(ButtonTest, DisabledLaysACheckerboardShortOfTheEdges) {
  button.SetButtonShadow(false);
  button.SetEnabled(false);
  int maxX = 0, maxY = 0;
  for (const DrawOp& op : s.ops)
    if (op.kind == DrawOp::Kind::Point) {
      maxX = std::max(maxX, op.x1), maxY = std::max(maxY, op.y1);
      EXPECT_EQ((op.x1 / 15 + op.y1 / 15) % 2, 0) << op.x1 << "," << op.y1;
    }
  EXPECT_EQ(maxX, 1470);
  EXPECT_LE(maxY, 420);
  EXPECT_EQ(s.CountPoints(0xFFFFFF), 50u * 15 + 49u * 14);  // rows 0..420 and 15..405
  EXPECT_FALSE(s.enabled);
  s.Forget();
  button.SetButtonShadow(true);
  maxX = 0;
  for (const DrawOp& op : s.ops)
    if (op.kind == DrawOp::Kind::Point) maxX = std::max(maxX, op.x1), maxY = std::max(maxY, op.y1);
  EXPECT_EQ(maxX, 1425);
}

TEST_F(ButtonTest, TheShadowIsThreeGreyBandsRightAndBelowTheFace) {
  button.SetButtonShadow(true);
  const int w = s.width - 45, h = s.height - 45;
  for (int band = 0; band < 3; ++band) {
    const Color grey = std::array<Color, 3>{0x808080, 0xA0A0A0, 0xC0C0C0}[band];
    const int d = 15 * band;
    EXPECT_TRUE(s.HasFill(w + d, 75, w + d, h + 15 + d, grey)) << band;
    EXPECT_TRUE(s.HasFill(75, h + d, w + d, h + 15 + d, grey)) << band;
  }
}

TEST_F(ButtonTest, FocusDotsRunInsideTheFace) {
  button.GotFocus();
  int minX = 10000, maxX = 0, minY = 10000, maxY = 0;
  for (const DrawOp& op : s.ops) {
    ASSERT_EQ(op.kind, DrawOp::Kind::Point);
    EXPECT_EQ(op.color, kAolFocus);
    minX = std::min(minX, op.x1), maxX = std::max(maxX, op.x1);
    minY = std::min(minY, op.y1), maxY = std::max(maxY, op.y1);
  }
  EXPECT_EQ(minX, 45);
  EXPECT_EQ(minY, 45);
  EXPECT_EQ(maxX, 1455 - 45);
  EXPECT_EQ(maxY, 405 - 45);
  s.Forget();
  button.SetDrawFocusRect(false);
  s.Forget();
  button.GotFocus();
  EXPECT_TRUE(s.ops.empty());
}

// Rows of an arrow: (top y, half width) of each one-pixel fill in the fore colour.
std::vector<std::pair<int, int>> ArrowRows(const FakeSurface& s) {
  std::vector<std::pair<int, int>> rows;
  for (const DrawOp& op : s.ops)
    if (op.kind == DrawOp::Kind::Fill && op.color == kAolFore && op.y1 == op.y2)
      rows.emplace_back(op.y1, (op.x2 - op.x1) / 2);
  return rows;
}

TEST_F(ButtonTest, ArrowGlyphReplacesThePaintedCaptionButKeepsTheCaption) {
  s.width = s.height = 28 * 15;  // the rotation list's square buttons
  button.SetCaption("");
  s.Forget();
  button.SetGlyph(Glyph::ArrowUp);
  EXPECT_EQ(s.changed, std::vector<std::string>{"Glyph"});
  for (const DrawOp& op : s.ops) EXPECT_NE(op.kind, DrawOp::Kind::Text);
  auto rows = ArrowRows(s);
  ASSERT_GE(rows.size(), 4u);
  // Up: one pixel at the top, a pixel wider each side per row, all centred on the face.
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].second, static_cast<int>(i) * 15);
    if (i) {
      EXPECT_EQ(rows[i].first, rows[i - 1].first + 15);
    }
  }
  const int faceMid = (28 * 15 - 45) / 2;
  EXPECT_LE(std::abs(rows.front().first + static_cast<int>(rows.size()) * 15 / 2 - faceMid), 15);

  s.Forget();
  button.SetGlyph(Glyph::ArrowDown);
  rows = ArrowRows(s);
  ASSERT_GE(rows.size(), 4u);
  EXPECT_EQ(rows.back().second, 0);
  EXPECT_EQ(rows.front().second, static_cast<int>(rows.size() - 1) * 15);

  // Caption changes (automation sets the window text) repaint the glyph, not text.
  s.Forget();
  button.SetCaption("Move Item Down");
  EXPECT_EQ(button.Caption(), "Move Item Down");
  EXPECT_FALSE(ArrowRows(s).empty());
  for (const DrawOp& op : s.ops) EXPECT_NE(op.kind, DrawOp::Kind::Text);

  s.Forget();
  button.SetGlyph(Glyph::None);
  EXPECT_TRUE(ArrowRows(s).empty());
  EXPECT_EQ(s.ops.back().kind, DrawOp::Kind::Text);
}

}  // namespace iv::aolbutton
