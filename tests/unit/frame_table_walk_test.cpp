// The stub's walk over its unwind tables, on tables built here in the layout the assembler writes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame_table_walk.h"

namespace {

// One buffer holds the "code" (its first 64 bytes) and the tables behind it, so that every
// field-relative address is a small, negative distance.
class Tables {
 public:
  Tables() : bytes_(1024, 0), end_(64) {}
  // A common entry with the given augmentation string and data; its offset.
  std::size_t Cie(const std::string& augmentation, const std::vector<unsigned char>& data) {
    std::vector<unsigned char> body{0, 0, 0, 0, 1};  // CIE id, version
    body.insert(body.end(), augmentation.begin(), augmentation.end() + 1);
    body.insert(body.end(), {1, 0x7c, 8, static_cast<unsigned char>(data.size())});
    body.insert(body.end(), data.begin(), data.end());
    return Put(body);
  }
  // A frame entry of `cie` for code bytes [begin, begin + size), relative to its field.
  void Fde(std::size_t cie, std::size_t begin, uint32_t size) {
    const std::size_t at = end_;
    const auto field = static_cast<int32_t>(begin) - static_cast<int32_t>(at + 8);
    std::vector<unsigned char> body(13, 0);
    Store(body, 0, static_cast<uint32_t>(at + 4 - cie));
    Store(body, 4, static_cast<uint32_t>(field));
    Store(body, 8, size);
    Put(body);
  }
  frame_tables::Covering Find(std::size_t codeOffset) const {
    return frame_tables::FindCovering(bytes_.data() + 64, Address(codeOffset));
  }
  uintptr_t Address(std::size_t offset) const { return reinterpret_cast<uintptr_t>(&bytes_[offset]); }

 private:
  static void Store(std::vector<unsigned char>& body, std::size_t at, uint32_t value) {
    std::memcpy(&body[at], &value, 4);
  }
  std::size_t Put(std::vector<unsigned char> body) {
    body.resize((body.size() + 3) / 4 * 4, 0);  // padded with DW_CFA_nop
    const std::size_t at = end_;
    const auto length = static_cast<uint32_t>(body.size());
    std::memcpy(&bytes_[at], &length, 4);
    std::memcpy(&bytes_[at + 4], body.data(), body.size());
    end_ += 4 + body.size();
    return at;
  }
  std::vector<unsigned char> bytes_;  // zero behind the last entry: the end of the run
  std::size_t end_;
};

TEST(FrameTableWalk, FindsTheEntryWhoseCodeCoversTheAddress) {
  Tables tables;
  const std::size_t plain = tables.Cie("zR", {0x1b});
  tables.Fde(plain, 0, 16);
  tables.Fde(plain, 16, 8);
  const std::size_t withPersonality = tables.Cie("zPLR", {0x9b, 1, 2, 3, 4, 0x1b, 0x1b});
  tables.Fde(withPersonality, 32, 8);
  const std::size_t unknown = tables.Cie("zX", {0});
  tables.Fde(unknown, 48, 8);

  struct Case {
    std::size_t address;
    bool found;
    std::size_t codeStart;
  };
  const std::vector<Case> cases = {
      {0, true, 0},       {15, true, 0},  {16, true, 16}, {23, true, 16},
      {24, false, 0},     {35, true, 32}, {40, false, 0}, {50, false, 0},  // unknown augmentation
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    const frame_tables::Covering found = tables.Find(c.address);
    ASSERT_EQ(found.entry != nullptr, c.found);
    if (c.found) {
      EXPECT_EQ(found.codeStart, tables.Address(c.codeStart));
    }
  }
  EXPECT_EQ(frame_tables::FindCovering(nullptr, tables.Address(0)).entry, nullptr);
}

}  // namespace
