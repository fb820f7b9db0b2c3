#include <gtest/gtest.h>

#include "base/znCommandLine.h"
#include "terrain/znCuttingOptions.h"
#include "terrain/znTerra.h"

namespace {

// The options after reading args the way the converter does.
TznCuttingOptions Read(const std::vector<std::string>& args) {
  TznCuttingOptions options;
  TznCommandLine command_line("test");
  options.AddTo(command_line);
  command_line.Parse(args);
  return options;
}

std::string Refusal(const std::vector<std::string>& args) {
  try {
    Read(args);
  } catch (const EznUsageError& e) {
    return e.what();
  }
  return "accepted";
}

}  // namespace

TEST(CuttingOptions, ReadsEveryChoiceIntoTheTerrainAndRefusesInItsOwnWords) {
  // The program's start: 10 m objects, 11 vertices, the regular grid, 5 cm.
  TznTerra terra;
  TznCuttingOptions().ApplyTo(terra);
  EXPECT_EQ(terra.FObjectSize, 10.0f);
  EXPECT_EQ(terra.FVertices, 11);
  EXPECT_EQ(terra.FMesh, TznTerra::kGridMesh);
  EXPECT_EQ(terra.FMaxError, 0.05);

  // Either spelling; the last of two values counts.
  Read({"--object-size=30", "--vertices", "35", "--vertices=2", "--mesh", "adaptive", "--max-error", "10"})
      .ApplyTo(terra);
  EXPECT_EQ(terra.FObjectSize, 30.0f);
  EXPECT_EQ(terra.FVertices, 2);
  EXPECT_EQ(terra.FMesh, TznTerra::kAdaptiveMesh);
  EXPECT_EQ(terra.FMaxError, 10.0);

  EXPECT_EQ(Refusal({"--object-size", "15"}), "--object-size must be 10, 20 or 30, not \"15\"");
  EXPECT_EQ(Refusal({"--object-size=ten"}), "--object-size must be 10, 20 or 30, not \"ten\"");
  EXPECT_EQ(Refusal({"--vertices", "1"}), "--vertices must be a whole number from 2 to 35, not \"1\"");
  EXPECT_EQ(Refusal({"--mesh=tin"}), "--mesh must be grid or adaptive, not \"tin\"");
  EXPECT_EQ(Refusal({"--max-error", "0.0009"}),
            "--max-error must be a number of metres from 0.001 to 10, not \"0.0009\"");
  EXPECT_EQ(Refusal({"--max-error="}), "--max-error must be a number of metres from 0.001 to 10, not \"\"");
  EXPECT_EQ(Refusal({"--mesh"}), "--mesh needs a value");
}
