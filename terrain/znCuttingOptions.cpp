#include "terrain/znCuttingOptions.h"

#include <algorithm>
#include <optional>

#include "base/znCommandLine.h"
#include "base/znFormat.h"
#include "terrain/znTerra.h"

namespace {

// "10, 20 or 30" (with "or") and "10|20|30" (with "|").
template <typename T, size_t N, typename Format>
std::string Listed(const std::array<T, N>& values, Format format, const char* between, const char* last) {
  std::string text;
  for (size_t k = 0; k < N; ++k) text += (k == 0 ? "" : k + 1 == N ? last : between) + format(values[k]);
  return text;
}

std::string SizeText(int size) { return FormatInt(size); }
std::string NameText(const char* name) { return name; }

// A help entry: the option and its value in a column of 25, then the text;
// further lines of text are indented to the same column.
std::string HelpLines(const std::string& option, const std::vector<std::string>& lines) {
  std::string text = "  " + option;
  text += std::string(text.size() < 27 ? 27 - text.size() : 1, ' ') + lines[0] + "\n";
  for (size_t k = 1; k < lines.size(); ++k) text += std::string(27, ' ') + lines[k] + "\n";
  return text;
}

[[noreturn]] void Refuse(const std::string& option, const std::string& must, const std::string& text) {
  throw EznUsageError(option + " must be " + must + ", not \"" + text + "\"");
}

void ReadObjectSize(TznCuttingOptions& o, const std::string& text) {
  const std::optional<int64_t> size = ParseInt(text);
  const auto& sizes = TznCuttingOptions::kObjectSizes;
  if (!size || std::find(sizes.begin(), sizes.end(), *size) == sizes.end())
    Refuse("--object-size", Listed(sizes, SizeText, ", ", " or "), text);
  o.ObjectSize = static_cast<int>(*size);
}

// The value read from text when it lies from min to max; otherwise refuses
// text, saying what the option must be ("a whole number from 2 to 35").
template <typename Number, typename Format>
Number InRange(const std::string& option, const std::string& what, std::optional<Number> value, Number min, Number max,
               Format format, const std::string& text) {
  if (!value || *value < min || *value > max)
    Refuse(option, what + " from " + format(min) + " to " + format(max), text);
  return *value;
}

void ReadVertices(TznCuttingOptions& o, const std::string& text) {
  o.Vertices =
      static_cast<int>(InRange<int64_t>("--vertices", "a whole number", ParseInt(text), TznCuttingOptions::kMinVertices,
                                        TznCuttingOptions::kMaxVertices, FormatInt, text));
}

void ReadMesh(TznCuttingOptions& o, const std::string& text) {
  const auto& names = TznCuttingOptions::kMeshNames;
  const auto found = std::find(names.begin(), names.end(), text);
  if (found == names.end()) Refuse("--mesh", Listed(names, NameText, ", ", " or "), text);
  o.Mesh = static_cast<uint8_t>(found - names.begin());
}

void ReadMaxError(TznCuttingOptions& o, const std::string& text) {
  o.MaxError = InRange("--max-error", "a number of metres", ParseReal(text), TznCuttingOptions::kMinMaxError,
                       TznCuttingOptions::kMaxMaxError, FormatGeneral, text);
  o.MaxErrorGiven = true;
}

std::vector<TznCuttingOptions::TChoice> MakeChoices() {
  using O = TznCuttingOptions;
  const std::string sizes = Listed(O::kObjectSizes, SizeText, "|", "|");
  const std::string meshes = Listed(O::kMeshNames, NameText, "|", "|");
  return {
      {"--object-size",
       HelpLines("--object-size " + sizes,
                 {"side of one object in metres (default " + FormatInt(O::kDefaultObjectSize) + ")"}),
       ReadObjectSize},
      {"--vertices",
       HelpLines("--vertices N", {"vertices per 10 m along a side, " + FormatInt(O::kMinVertices) + " to " +
                                  FormatInt(O::kMaxVertices) + " (default " + FormatInt(O::kDefaultVertices) + ")"}),
       ReadVertices},
      {"--mesh",
       HelpLines("--mesh " + meshes, {"the regular grid of the chosen density (default), or",
                                      "adaptive meshes: fewer triangles where the ground allows"}),
       ReadMesh},
      {"--max-error",
       HelpLines("--max-error METRES",
                 {"how far (vertically) an adaptive mesh may lie from the",
                  "regular grid's points, " + FormatGeneral(O::kMinMaxError) + " to " + FormatGeneral(O::kMaxMaxError) +
                      " (default " + FormatGeneral(O::kDefaultMaxError) + ")"}),
       ReadMaxError},
      {"--fit", HelpLines("--fit", {"fit every terrain into 1000 m x 1000 m (the default for", ".ter files)"}), nullptr,
       &O::Fit},
      {"--true-size", HelpLines("--true-size", {"keep every terrain at its size (the default for rasters)"}), nullptr,
       &O::TrueSize},
  };
}

}  // namespace

const std::vector<TznCuttingOptions::TChoice>& TznCuttingOptions::Choices() {
  static const std::vector<TChoice> choices = MakeChoices();
  return choices;
}

std::string TznCuttingOptions::Help(const std::vector<std::string>& options) {
  std::string text;
  for (const std::string& option : options)
    for (const TChoice& choice : Choices())
      if (choice.Option == option) text += choice.Help;
  return text;
}

void TznCuttingOptions::AddTo(TznCommandLine& command_line) {
  for (const TChoice& choice : Choices()) {
    if (choice.Flag)
      command_line.AddFlag(choice.Option, this->*choice.Flag);
    else
      command_line.AddOption(choice.Option, [this, read = choice.Read](const std::string& text) { read(*this, text); });
  }
}

TznFitRule TznCuttingOptions::FitRule() const {
  if (Fit && TrueSize) throw EznUsageError("--fit and --true-size exclude each other");
  return Fit ? TznFitRule::Fit : TrueSize ? TznFitRule::TrueSize : TznFitRule::ByKind;
}

std::vector<std::string> TznCuttingOptions::Warnings() const {
  if (MaxErrorGiven && Mesh == kGridMesh)
    return {"--max-error applies to --mesh adaptive only; the regular grid ignores it"};
  return {};
}

void TznCuttingOptions::ApplyTo(TznTerra& terra) const {
  terra.SetFitRule(FitRule());
  terra.SetObjectSize(static_cast<float>(ObjectSize));
  terra.SetVertices(Vertices);
  terra.SetMesh(Mesh);
  terra.SetMaxError(MaxError);
}
