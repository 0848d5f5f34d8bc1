#include "quillui/platform/cpu_features.h"

namespace quill::platform {

bool CpuHasByteTableVectors() {
#if defined(__x86_64__)
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vl") &&
                          __builtin_cpu_supports("avx512vbmi");
  return has;
#else
  return false;
#endif
}

}  // namespace quill::platform
