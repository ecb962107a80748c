// Turning picture files into buddy icons with the Windows Imaging Component: decode,
// scale into 48 x 48, reduce colours and frames until the GIF fits AIM's byte limit.
#pragma once
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <atomic>
#include <string>

namespace iv::library {

struct ImportResult {
  bool ok = false;
  std::wstring iconName;  // the file written into the category folder
  std::string problem;    // why nothing was written
  std::string note;       // what was given up to make it fit
  bool cancelled = false;
};

// A WIC factory for the calling thread, which must have initialised COM.
Microsoft::WRL::ComPtr<IWICImagingFactory> MakeWicFactory();

// Imports one picture into `folder` (which must exist). Writes nothing unless the
// result is ok; `cancel` is looked at between frames and strips of rows.
ImportResult ImportPicture(IWICImagingFactory* wic, const std::wstring& source, const std::wstring& folder,
                           const std::atomic<bool>& cancel);

}  // namespace iv::library
