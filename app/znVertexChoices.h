// The choices of the Basic Shape tab as text: the vertex density entries,
// the count of vertices per object, and the world sizes (display only).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "terrain/znCuttingOptions.h"

// The list offers every vertex count the cutting options allow: entry i
// means i + 2.
constexpr int kMinListVertices = TznCuttingOptions::kMinVertices;
constexpr int kMaxListVertices = TznCuttingOptions::kMaxVertices;
constexpr int kVertexEntryCount = kMaxListVertices - kMinListVertices + 1;

// "n x n = n²  (spacing)": the spacing 10 / (n - 1) m with two decimals and
// "m" up to n = 11, in whole centimetres and "cm" from 12 on, with "~" when
// the value shown is not exact: "2 x 2 = 4  (10.00m)", "17 x 17 = 289  (~63cm)".
std::string VertexEntryText(int vertices);

// n² × k², k the object size in tens of metres rounded half to even; 0 for
// fewer than 2 vertices.
int VerticesPerObject(int vertices, float object_size);

// "Total per object: %.1d".
std::string TotalPerObjectText(int total);

// Surface triangles of an object's regular mesh: two per cell, (n - 1) k
// cells a side with k as above; 0 for fewer than 2 vertices.
int64_t GridTrianglesPerObject(int vertices, float object_size);

// "Triangles per object: %.1d" with the grid's count; for adaptive meshes
// "about %.1d (grid: %.1d)" with the mean of a sample, rounded, or
// "at most %.1d" without one.
std::string TrianglesPerObjectText(int64_t grid, bool adaptive, std::optional<double> adaptive_mean);

// The "max. error (cm)" edit: a number typed is held within the cutting
// options' range, 0.1 .. 1000 cm; nothing when the text is no number. The
// edit shows "%.2f".
constexpr double kMinMaxErrorCm = TznCuttingOptions::kMinMaxError * 100;
constexpr double kMaxMaxErrorCm = TznCuttingOptions::kMaxMaxError * 100;
constexpr double kDefaultMaxErrorCm = TznCuttingOptions::kDefaultMaxError * 100;
std::optional<double> ParseMaxErrorCm(std::string_view text);
std::string MaxErrorText(double centimetres);

// "I don't care :)" and the eleven square world sizes with the server
// editions that allow them.
std::vector<std::string> WorldSizeEntries();
