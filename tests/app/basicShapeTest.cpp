// The Basic Shape tab: the vertex list's texts, the counts per object, and
// the choices pushed into the terrain.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/znBasicShapeTab.h"
#include "app/znVertexChoices.h"
#include "appTest.h"
#include "rwx/znRWXChunkCentral.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

TEST(VertexChoices, EntriesShowTheSpacing) {
  EXPECT_EQ(VertexEntryText(2), "2 x 2 = 4  (10.00m)");
  EXPECT_EQ(VertexEntryText(4), "4 x 4 = 16  (~3.33m)");
  EXPECT_EQ(VertexEntryText(5), "5 x 5 = 25  (2.50m)");
  EXPECT_EQ(VertexEntryText(11), "11 x 11 = 121  (1.00m)");
  EXPECT_EQ(VertexEntryText(12), "12 x 12 = 144  (~91cm)");
  EXPECT_EQ(VertexEntryText(17), "17 x 17 = 289  (~63cm)");  // 62.5 cm
  EXPECT_EQ(VertexEntryText(21), "21 x 21 = 441  (50cm)");
  EXPECT_EQ(VertexEntryText(26), "26 x 26 = 676  (40cm)");
  EXPECT_EQ(VertexEntryText(35), "35 x 35 = 1225  (~29cm)");
}

TEST(VertexChoices, TotalPerObject) {
  EXPECT_EQ(VerticesPerObject(11, 10), 121);
  EXPECT_EQ(VerticesPerObject(11, 20), 484);
  EXPECT_EQ(VerticesPerObject(2, 30), 36);
  EXPECT_EQ(VerticesPerObject(1, 10), 0);
  EXPECT_EQ(VerticesPerObject(11, 25), 484);   // 2.5 rounds to 2
  EXPECT_EQ(VerticesPerObject(11, 35), 1936);  // 3.5 rounds to 4
  EXPECT_EQ(TotalPerObjectText(121), "Total per object: 121");
  const std::vector<std::string> sizes = WorldSizeEntries();
  ASSERT_EQ(sizes.size(), 12u);
  EXPECT_EQ(sizes[0], "I don't care :)");
  EXPECT_EQ(sizes[1].rfind("200x200 = ", 0), 0u);
  EXPECT_EQ(sizes[11].rfind("2000x2000 = ", 0), 0u);
}

class BasicShapeTab : public test::AppTest {
 protected:
  TznTerra terra_;
};

TEST_F(BasicShapeTab, UserChoicesReachTheTerrainAndTheLabel) {
  TznBasicShapeTab tab(context_, terra_);
  ASSERT_EQ(tab.cbNumVertices->count(), 34);
  tab.ShowObjectSize();
  tab.ShowNumVertices();
  tab.ShowTotal();
  EXPECT_EQ(tab.cbNumVertices->currentText(), "11 x 11 = 121  (1.00m)");
  EXPECT_EQ(tab.lbNumVertices->text(), "Total per object: 121");

  int repaints = 0;
  tab.OnObjectSizeChanged = [&] { ++repaints; };
  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgObjectSize1"), Qt::LeftButton);
  EXPECT_EQ(terra_.FObjectSize, 20.0f);
  EXPECT_EQ(tab.lbNumVertices->text(), "Total per object: 484");
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(composer_updates_, 1);

  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgObjectSize2"), Qt::LeftButton);
  tab.cbNumVertices->setCurrentIndex(0);
  tab.cbNumVerticesChange();
  EXPECT_EQ(terra_.FVertices, 2);
  EXPECT_EQ(tab.lbNumVertices->text(), "Total per object: 36");
  EXPECT_EQ(repaints, 2);  // the vertex density does not redraw the map
}

// 257 points at 2 km: 51400000 cm along each axis. 30 m objects need at
// most (17134 + 2)^2 = 293642496, 20 m ones (25700 + 2)^2 = 660592804,
// 10 m ones (51400 + 2)^2 = 2642165604: more than the 2147483647 that an
// int numbers.
TEST_F(BasicShapeTab, ObjectSizeThatCutsTooManyObjectsIsRefused) {
  terra_.FXPoints = terra_.FYPoints = 257;
  terra_.SetScaleX(2000);
  terra_.SetScaleY(2000);
  TznBasicShapeTab tab(context_, terra_);
  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgObjectSize2"), Qt::LeftButton);
  EXPECT_EQ(terra_.FObjectSize, 30.0f);
  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgObjectSize0"), Qt::LeftButton);
  EXPECT_EQ(prompts_.Messages,
            (std::vector<std::string>{"Too many objects! The terrain would be cut into up to 2642165604 "
                                      "objects of 10 m; the object grid holds no more than 2147483647."}));
  EXPECT_EQ(terra_.FObjectSize, 30.0f);
  EXPECT_TRUE(test::Find<QRadioButton>(tab, "rgObjectSize2")->isChecked());
  EXPECT_EQ(tab.lbNumVertices->text(), "Total per object: 1089");  // 33 x 33
  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgObjectSize1"), Qt::LeftButton);
  EXPECT_EQ(terra_.FObjectSize, 20.0f);
  EXPECT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(composer_updates_, 2);
}

TEST_F(BasicShapeTab, ShowObjectSizeSnapsOrResets) {
  TznBasicShapeTab tab(context_, terra_);
  terra_.SetObjectSize(19.0f);
  tab.ShowObjectSize();
  EXPECT_EQ(tab.ObjectSizeItem(), 1);
  EXPECT_EQ(terra_.FObjectSize, 19.0f);  // shown as 20, kept as it was
  terra_.SetObjectSize(40.0f);
  tab.ShowObjectSize();
  EXPECT_EQ(tab.ObjectSizeItem(), 0);
  EXPECT_EQ(terra_.FObjectSize, 10.0f);
}

TEST_F(BasicShapeTab, WorldSizeChangesNothing) {
  TznBasicShapeTab tab(context_, terra_);
  tab.cbMaxBounds->setCurrentIndex(5);
  tab.cbMaxBoundsChange();
  EXPECT_EQ(terra_.FObjectSize, 10.0f);
  EXPECT_EQ(terra_.FVertices, 11);
  EXPECT_EQ(composer_updates_, 0);
}

TEST_F(BasicShapeTab, AdaptiveMeshWithTheErrorTypedAndItsTriangleCount) {
  // 31 x 31 points 1 m apart on a plane rising 1 cm east and 2 cm north per
  // step: every adaptive object needs two triangles.
  test::TerFile(31, 31, 1, [](int i, int j) { return static_cast<int16_t>(10 * i + 20 * j); }).Save("plane.ter");
  ASSERT_TRUE(terra_.LoadFromFile("plane.ter"));
  terra_.SetRenderMode(TznRenderMode::RWXPreview);
  TznBasicShapeTab tab(context_, terra_);
  tab.ShowObjectSize();
  tab.ShowNumVertices();
  tab.ShowMesh();
  tab.ShowTotal();
  QLineEdit* edit = test::Find<QLineEdit>(tab, "edMaxError");
  // The grid: 10 x 10 cells, two triangles each; the error cannot be typed.
  EXPECT_EQ(tab.lbTriangles->text(), "Triangles per object: 200");
  EXPECT_EQ(edit->text(), "5.00");
  EXPECT_FALSE(edit->isEnabled());

  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgMesh1"), Qt::LeftButton);
  EXPECT_EQ(terra_.FMesh, TznTerra::kAdaptiveMesh);
  EXPECT_TRUE(edit->isEnabled());
  EXPECT_EQ(tab.lbTriangles->text(), "Triangles per object: about 2 (grid: 200)");
  // The preview's objects are rebuilt adaptive: an inner one of 2 triangles.
  TznRWXChunk& inner = terra_.RWXChunks().Object(terra_.RWXChunks().Columns + 1);
  ASSERT_EQ(inner.EdgeFlags, 0);
  inner.Build();
  EXPECT_EQ(inner.FaceCount(), 2u);

  auto type = [&](const char* text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  type(" 2.5 ");
  EXPECT_EQ(edit->text(), "2.50");
  EXPECT_DOUBLE_EQ(terra_.FMaxError, 0.025);
  type("abc");
  EXPECT_EQ(prompts_.Messages, (std::vector<std::string>{"'abc' is not a valid floating point value"}));
  EXPECT_EQ(edit->text(), "2.50");
  EXPECT_DOUBLE_EQ(terra_.FMaxError, 0.025);
  type("-3");  // held within 0.1 .. 1000 cm
  EXPECT_EQ(edit->text(), "0.10");
  EXPECT_DOUBLE_EQ(terra_.FMaxError, 0.001);
  type("1e9");
  EXPECT_EQ(edit->text(), "1000.00");
  EXPECT_DOUBLE_EQ(terra_.FMaxError, 10.0);

  // Back to the grid: the edit is off and keeps its value; 20 m objects
  // have 20 x 20 cells.
  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgMesh0"), Qt::LeftButton);
  EXPECT_EQ(terra_.FMesh, TznTerra::kGridMesh);
  EXPECT_FALSE(edit->isEnabled());
  QTest::mouseClick(test::Find<QRadioButton>(tab, "rgObjectSize1"), Qt::LeftButton);
  EXPECT_EQ(tab.lbTriangles->text(), "Triangles per object: 800");
  EXPECT_EQ(prompts_.Messages.size(), 1u);
}
