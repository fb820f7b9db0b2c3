// How a terrain is cut into RWX objects: the side of an object, the
// vertices per 10 m, the mesh and its error. Each choice holds its range,
// its default and the words that refuse a value outside them; the
// converter, the snapshot tool and the Basic Shape tab all offer these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TznCommandLine;
class TznTerra;

// Whether a load fits the terrain into 1000 m x 1000 m: by the kind of file
// (.ter files are fitted, rasters keep their size), always, or never.
enum class TznFitRule : uint8_t { ByKind = 0, Fit = 1, TrueSize = 2 };

struct TznCuttingOptions {
  // The side of an object in metres.
  static constexpr std::array<int, 3> kObjectSizes = {10, 20, 30};
  static constexpr int kDefaultObjectSize = 10;
  // Vertices per 10 m along an object's side.
  static constexpr int kMinVertices = 2, kMaxVertices = 35, kDefaultVertices = 11;
  // The regular grid of the chosen density, or adaptive meshes that lie
  // within MaxError metres (vertically) of the grid's points.
  enum : uint8_t { kGridMesh = 0, kAdaptiveMesh = 1 };
  static constexpr std::array<const char*, 2> kMeshNames = {"grid", "adaptive"};
  static constexpr double kMinMaxError = 0.001, kMaxMaxError = 10.0, kDefaultMaxError = 0.05;

  int ObjectSize = kDefaultObjectSize;
  int Vertices = kDefaultVertices;
  uint8_t Mesh = kGridMesh;
  double MaxError = kDefaultMaxError;
  // --fit and --true-size: every terrain fitted into 1000 m x 1000 m, or
  // none; neither leaves the rule to the kind of file.
  bool Fit = false, TrueSize = false;
  // --max-error was given.
  bool MaxErrorGiven = false;

  // One choice on a command line: its option ("--vertices"), its help
  // lines, and how it reads a value; Read throws EznUsageError ("--vertices
  // must be a whole number from 2 to 35, not "36""). A choice without a
  // value sets its Flag instead.
  struct TChoice {
    std::string Option;
    std::string Help;
    void (*Read)(TznCuttingOptions& options, const std::string& text) = nullptr;
    bool TznCuttingOptions::*Flag = nullptr;
  };
  // Every choice, in the order the help lists them.
  static const std::vector<TChoice>& Choices();
  // The help lines of the named choices, in that order.
  static std::string Help(const std::vector<std::string>& options);

  // Offers every choice on the command line; the values read land here.
  void AddTo(TznCommandLine& command_line);

  // The fit rule of --fit and --true-size; throws EznUsageError when both
  // were given.
  TznFitRule FitRule() const;

  // What the user should know about the choices made, such as a
  // --max-error that the regular grid ignores; empty when nothing.
  std::vector<std::string> Warnings() const;

  // Sets the terrain's cutting settings and its fit rule (which the next
  // load follows); the shell rebuilds its grid after.
  void ApplyTo(TznTerra& terra) const;
};
