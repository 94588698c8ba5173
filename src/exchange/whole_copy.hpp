#pragma once
// One file copied so that the target name only ever holds a whole copy: the
// bytes go to a temporary name in the target folder, the copy's size is
// checked against the source's and its bytes are flushed to the device, and
// only then does it take the target's name (replacing a file of that name).
// A card pulled half-way leaves at most the temporary file, which is removed
// when possible.
#include <cstdint>
#include <string>

namespace exchange {

// The temporary name used beside a target named name: "~" + name + ".tfc".
// No dataset search ("NN ..." or "[...") matches it.
std::string temporaryCopyName(const std::string& name);

// Copies from onto to as above. expectedSize is the source's size as the
// listing gave it. 0 on success; the error of the copy or the rename; or
// platform::kErrIoDevice when the copy came out another size than the
// source (nothing then stands under the target's name that was not there
// before).
[[nodiscard]] int copyWholeFile(const std::string& from, std::uint64_t expectedSize, const std::string& to);

}  // namespace exchange
