#include "import/znRasterReport.h"

#include "base/znFormat.h"

namespace {

std::string Size(int64_t x, int64_t y) { return FormatInt(x) + " x " + FormatInt(y); }

std::string HeightStepText(double step) { return FormatGeneral(step) + " m"; }

}  // namespace

std::string TznRasterReport::AveragingNote() const {
  if (!Averaged()) return {};
  return Size(SourceX, SourceY) + " points averaged down to " + Size(PointsX, PointsY);
}

std::vector<std::string> TznRasterReport::Notes() const {
  std::vector<std::string> notes;
  if (NoDataCells > 0)
    notes.push_back(FormatInt(NoDataCells) + (NoDataCells == 1 ? " no-data cell takes" : " no-data cells take") +
                    " the lowest valid height, " + FormatFixed(Lowest, 2) + " m");
  if (Averaged()) notes.push_back(AveragingNote());
  notes.push_back("height step " + HeightStepText(HeightStep) +
                  (KeepElevation ? ", after the highest height above or below sea level" : ""));
  return notes;
}

std::vector<std::string> TznRasterReport::InfoLines() const {
  std::vector<std::string> lines;
  lines.push_back("Driver: " + Driver);
  lines.push_back("CRS: " + (Crs.empty() ? std::string("none") : Crs));
  lines.push_back("Pixel size: " + FormatGeneral(PixelX) + " x " + FormatGeneral(PixelY) + " m" +
                  (Georeferenced ? "" : " (no georeference)"));
  if (Averaged()) lines.push_back("Averaged: " + AveragingNote());
  lines.push_back("No-data cells: " + FormatInt(NoDataCells));
  return lines;
}
