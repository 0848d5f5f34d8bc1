// What the processor can do beyond the baseline the library is built for, asked once.
#pragma once

namespace quill::platform {

// AVX-512 with byte permutes (F, BW and VBMI): 256-entry byte tables looked up 64 bytes a step.
bool CpuHasByteTableVectors();

}  // namespace quill::platform
