#include "export/record_writer.h"

#include <bit>

namespace qrsmith {

void RecordWriter::F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }

}  // namespace qrsmith
