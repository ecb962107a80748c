// Control ids of the main window, one per control, named as the controls.
#pragma once

namespace iv::ids {
enum : int {
  // Tabs and panels
  TabIcon = 100, SSActiveTabPanel2, SSActiveTabPanel1, SSActiveTabPanel3,
  // "Welcome!"
  FraLink = 200, lblBroughtToYouBy, lblWeb, lblURL, Wb,
  // "Icon Settings"
  FraFinal = 300, FraTime, OptHR, OptDAY, OptWEEK, OptDISABLE, OptCUSTOM, lblMinutes, txtMinutes, cmdAIMZC,
  FraCurrentIcon, WbCurrent, Label1, FraCats, lblFirst, cmbLet, Label4, LstCats, cmdUpdate, cmdView, lblPaused,
  // "Icon Manager"
  FraLibrary = 400, FraDownloaded, lvFolders, lvFiles, cmdDelFolder, cmdDelIcon, cmdAddRotation, cmdBrowse,
  FraRotation, lstRotation, FraPreview, WbPreview, cmdRemove, cmdUse, cmdUp, cmdDown, cmdRotClear,
  cmdImport,
  // Outside the tabs
  ABIcons = 500, cmdExit, cmdHelp, cmdAd, cmdwFeatures,
};

// Timers of the main window.
enum : int { TmrRotate = 1, TmrAIM, TmrMin, TmrIcon, TmrMsg, TmrAd };
}  // namespace iv::ids
