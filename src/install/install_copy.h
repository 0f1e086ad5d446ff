#pragma once
// The image copy: the screen saver streamed out of the setup file in bounded chunks, with a
// progress report after each chunk so the window can repaint and serve its messages.
#include <cstdint>
#include <vector>

#include "callable/function_ref.h"
#include "os/files.h"

namespace install {

// Largest chunk moved at once; the buffer is allocated once per installation with this size.
constexpr uint32_t kCopyChunkSize = 100001;

// Copies up to `length` bytes from the current position of `source` into `target`, through
// `buffer` (at least one byte; chunks never exceed its size). After each chunk `afterChunk` gets
// the share of the whole source file that lies before the source position, in percent.
// The copy ends early, without error, at the end of the source file. A read that fails or
// delivers nothing before that end, and a write that falls short, raise InstallError: a copy
// that cannot make progress must neither spin nor count as done. With a `checksum`, it receives
// the CRC-32C of the bytes copied, computed as each chunk passes.
void CopyImage(os::File& source, os::File& target, int64_t length, std::vector<uint8_t>& buffer,
               callable::FunctionRef<void(int percent)> afterChunk, uint32_t* checksum = nullptr);

// The same for a coded image (package/coded_image.h) of `length` stored bytes from the current
// position of `source`: decoded frame by frame into `target` in chunks of at most the output
// buffer's size (the input buffer holds what is read ahead for the decoder), with `afterChunk`
// after each, the percentage taken at the stored bytes the decoder has used. Returns the number
// of bytes installed and puts their CRC-32C in `checksum`. A read that fails or ends early and a
// write that falls short raise InstallError; a damaged image raises DamagedImage, at the latest
// when its damaged frame has been written.
int64_t DecodeImage(os::File& source, os::File& target, int64_t length,
                    std::vector<uint8_t>& output, std::vector<uint8_t>& input,
                    callable::FunctionRef<void(int percent)> afterChunk, uint32_t& checksum);

// Reads the first bytes of the image at the current position of `source` and goes back: whether
// the image is coded (package::IsCodedImage decides). Raises InstallError when they cannot be read.
bool ImageIsCoded(os::File& source, int64_t length);

// The steps the errors above name in their cause; its path is the caller's to fill in, as only
// the caller knows the files' names.
constexpr char kReadSetupFileStep[] = "read the screen saver from the setup file";
constexpr char kWriteSaverStep[] = "write the screen saver";

}  // namespace install
