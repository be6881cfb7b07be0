// A drawing may hold millions of entities: once its buffers have grown to
// the largest record, the walk must not touch the heap per line or per
// entity. The program counts allocations through the shared replacement of
// global operator new.
#include <gtest/gtest.h>

#include <string>

#include "DxfReading.h"
#include "HeapCounter.h"
#include "conversion/dxf/DxfTransform.h"

namespace transref {
namespace {

// Discards what it is given (a string would grow with the drawing).
class DiscardingSink final : public dxf::LineSink {
 public:
  void WriteLine(std::string_view line) override { bytes += line.size() + 1; }
  void Write(std::string_view text) override { bytes += text.size(); }
  bool Failed() const override { return false; }
  std::size_t bytes = 0;
};

// `count` copies of a mix of entities: every role of the common ones.
std::string Drawing(int count) {
  test::DrawingText d;
  d.Tag(0, "SECTION").Tag(2, "ENTITIES");
  for (int k = 0; k < count; ++k) {
    const double x = 350000 + k, y = 2200000 + k;
    d.Tag(0, "LINE").Tag(8, "0").Point(10, x, y, 1).Point(11, x + 5, y + 5, 1);
    d.Tag(0, "ARC").Tag(8, "0").Point(10, -x, y, 0).Tag(40, 12.5).Tag(50, 10.0).Tag(51, 80.0).Point(210, 0, 0, -1);
    d.Tag(0, "TEXT").Tag(8, "0").Point(10, x, y, 0).Tag(40, 2.0).Tag(1, "P").Tag(50, 30.0).Tag(72, "1").Point(11, x + 1, y, 0);
    // Texts whose direction the drawing leaves out: the conversion adds it.
    d.Tag(0, "TEXT").Tag(8, "0").Point(10, x, y, 0).Tag(40, 2.0).Tag(1, "Q");
    d.Tag(0, "MTEXT").Tag(8, "0").Point(10, x, y, 0).Tag(40, 2.0).Tag(1, "R");
    d.Tag(0, "LWPOLYLINE").Tag(8, "0").Tag(90, "2").Tag(38, 4.0).Point(10, x, y).Tag(42, 0.5).Point(10, x + 9, y);
    d.Tag(0, "POLYLINE").Tag(8, "0").Tag(66, "1").Point(10, 0, 0, 2).Tag(70, "0");
    d.Tag(0, "VERTEX").Tag(8, "0").Point(10, x, y).Tag(0, "VERTEX").Tag(8, "0").Point(10, x + 3, y);
    d.Tag(0, "SEQEND").Tag(8, "0");
    d.Tag(0, "HATCH").Tag(8, "0").Point(10, 0, 0, 0).Tag(91, "1").Tag(92, "1").Tag(93, "2");
    d.Tag(72, "1").Point(10, x, y).Point(11, x + 10, y);
    d.Tag(72, "2").Point(10, x + 5, y).Tag(40, 5.0).Tag(50, 0.0).Tag(51, 180.0).Tag(73, "1").Tag(97, "0");
    d.Tag(75, "0").Tag(76, "1").Tag(52, 45.0).Tag(98, "1").Point(10, x + 5, y + 1);
  }
  d.Tag(0, "ENDSEC").Tag(0, "EOF");
  return d.text;
}

std::size_t WalkAllocations(const std::string& text, FileKind outputKind) {
  const ConversionJob job = test::ZoneChangeJob("", "", outputKind);
  PointChain chain = testing::ChainOf(job);
  dxf::MemoryLineSource source(text);
  DiscardingSink sink;
  NullProgressSink progress;
  RunResult result;
  const std::size_t before = testing::HeapAllocations();
  EXPECT_TRUE(WalkDxf(job, chain, source, sink, progress, result));
  EXPECT_GT(sink.bytes, text.size() / 4);
  return testing::HeapAllocations() - before;
}

TEST(DxfAllocationTest, ManyEntitiesCostNoMoreAllocationsThanAFew) {
  const std::string few = Drawing(10), many = Drawing(2000);
  for (const FileKind kind : {FileKind::Dxf, FileKind::Ascii3D}) {
    EXPECT_EQ(WalkAllocations(many, kind), WalkAllocations(few, kind));
  }
}

}  // namespace
}  // namespace transref
