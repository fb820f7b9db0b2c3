// The RenderWare script writer: one .rwx model per object, in decametres
// from the object's centre at height 0, X growing west and Z north.
#pragma once

#include "rwx/znModelWriter.h"

class TznRWXModelWriter : public TznModelWriter {
 public:
  std::string Extension() const override { return ".rwx"; }
  // Without a composer WriteRWXPlain; with one whose IndividualSettings is
  // set WriteRWXIndividual; otherwise WriteRWXBasic.
  bool WriteModel(const TznObjectMesh& mesh, double centre_x, double centre_z, const TznRWXComposer* composer,
                  TznLineList& lines) const override;

  // One clump per pair that claims faces, with the pair's own general
  // settings and only the vertices its faces use.
  static bool WriteRWXIndividual(const TznObjectMesh& mesh, double centre_x, double centre_z,
                                 const TznRWXComposer& composer, TznLineList& lines);
  // One clump of all vertices with the basic material's general settings;
  // each pair's faces follow its texture, surface, colour and opacity.
  static bool WriteRWXBasic(const TznObjectMesh& mesh, double centre_x, double centre_z, const TznRWXComposer& composer,
                            TznLineList& lines);
  // The model without a composer, in fixed colours; written (without
  // triangles) even for a mesh with no face, for which it returns false.
  static bool WriteRWXPlain(const TznObjectMesh& mesh, double centre_x, double centre_z, TznLineList& lines);
};
