// What the processor can do beyond the baseline the library is built for, asked once.
#pragma once

namespace quill::platform {

// AVX-512 with byte permutes (F, BW, VL and VBMI): 256-entry byte tables looked up 64 bytes a
// step, masked byte operations on 32 and 64 bytes.
bool CpuHasByteTableVectors();

}  // namespace quill::platform
