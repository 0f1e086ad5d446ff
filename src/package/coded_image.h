#pragma once
// The screen saver's image as a package carries it: stored, the program file as it is, or coded
// in frames with LZMA. The record's PackageSize counts the image as stored in the file (other
// readers compute positions from it); the installed size is the coded image's own.
//
//   stored image:  the program file itself, so it begins "MZ"
//   coded image:   header (32) | frame*
//   header:        "SCRlzma1" (8) | installed size (8) | frame size (4) | LZMA properties (5) |
//                  zero (3) | CRC-32C of the 28 bytes before (4)
//   frame:         method (1: 0 stored, 1 LZMA) | zero (3) | stored size (4) | installed size (4) |
//                  CRC-32C of the stored bytes (4) | CRC-32C of the installed bytes (4) |
//                  CRC-32C of the 20 bytes before (4) | stored bytes
//
// Each frame holds at most `frame size` installed bytes and is coded on its own (one LZMA stream
// without end mark, the properties of the header, a dictionary of the frame size), or stored when
// coding would not make it smaller. The frames' sizes add up to the header's installed size and to
// the image's stored length exactly. Numbers are little-endian.
//
// Whether an image is coded is told by its own first bytes (IsCodedImage), never by the extension
// block: a block that is missing or damaged cannot make the coded bytes pass for a program, and a
// coded image whose header or frame is damaged is refused as a whole.
#include <cstdint>
#include <string>
#include <vector>

#include "callable/function_ref.h"
#include "package/errors.h"
#include "package/read_source.h"
#include "package/settings_record.h"

namespace package {

constexpr char kCodedImageMarker[8] = {'S', 'C', 'R', 'l', 'z', 'm', 'a', '1'};
constexpr uint32_t kImageHeaderSize = 32;
constexpr uint32_t kFrameHeaderSize = 24;
constexpr uint32_t kLzmaPropertiesSize = 5;
// What scrpack codes in one frame, and the most a stub accepts (it allocates a dictionary of the
// frame size, so a damaged header must not ask for more).
constexpr uint32_t kDefaultFrameSize = 4 << 20;
constexpr uint32_t kMaxFrameSize = 64 << 20;

enum class FrameMethod : uint8_t { kStored = 0, kLzma = 1 };

struct CodedImageHeader {
  int64_t installedSize = 0;
  uint32_t frameSize = kDefaultFrameSize;
  uint8_t lzmaProperties[kLzmaPropertiesSize] = {};
};

struct FrameHeader {
  FrameMethod method = FrameMethod::kStored;
  uint32_t storedSize = 0;
  uint32_t installedSize = 0;
  uint32_t storedChecksum = 0;
  uint32_t installedChecksum = 0;
};

// A coded image that cannot be decoded: its header, a frame's header or a frame's bytes are
// damaged, or the frames do not add up.
class DamagedCodedImage : public CorruptedPackage {
 public:
  DamagedCodedImage() : CorruptedPackage("corrupted package: the coded image is damaged") {}
};

// The one decision: an image is stored when it begins "MZ" (every program file does) or is too
// short to hold two bytes, and coded otherwise. A coded image that is not one of ours is damaged.
bool IsCodedImage(const uint8_t* firstBytes, std::size_t count);

std::string EncodeImageHeader(const CodedImageHeader& header);
std::string EncodeFrameHeader(const FrameHeader& frame);
// Throw DamagedCodedImage for a wrong marker, a checksum that differs, a nonzero spare byte, an
// unknown method, or sizes beyond what the header allows.
CodedImageHeader DecodeImageHeader(const uint8_t (&bytes)[kImageHeaderSize]);
FrameHeader DecodeFrameHeader(const uint8_t (&bytes)[kFrameHeaderSize],
                              const CodedImageHeader& image);

// Fills `into` with exactly `count` more bytes of the stored image, or throws.
using PullImageBytes = callable::FunctionRef<void(uint8_t* into, uint32_t count)>;
// Takes installed bytes; `consumed` is how much of the stored image has been read so far.
using PushImageBytes =
    callable::FunctionRef<void(const uint8_t* bytes, uint32_t count, int64_t consumed)>;

// Decodes a coded image of `storedLength` bytes from its first byte on: reads through `input`
// and hands the installed bytes to `push` in pieces of at most output.size() bytes (both buffers
// at least one byte), memory staying at those buffers and one frame's dictionary whatever the
// image's size. Returns the CRC-32C of the installed bytes. Throws DamagedCodedImage as soon as
// something does not fit, and at the latest after a damaged frame's last piece.
uint32_t DecodeImage(int64_t storedLength, const PullImageBytes& pull, std::vector<uint8_t>& input,
                     std::vector<uint8_t>& output, const PushImageBytes& push);

// The image of a setup file as the file carries it and as it is installed (for inspect, verify
// and the uninstall entry). Throws CorruptedPackage when the image cannot be read, and
// DamagedCodedImage when a coded image's header is damaged.
struct ImageSizes {
  bool coded = false;
  int64_t stored = 0;     // ImageLength
  int64_t installed = 0;  // the same when stored, the header's installed size when coded
};
ImageSizes ImageSizesOf(ReadSource& source, int64_t packageEnd, const SettingsRecord& record);

}  // namespace package
