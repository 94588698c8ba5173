#include "transfer/login_block.hpp"

#include <algorithm>

#include "base/le.hpp"

#include "transfer/wire_text.hpp"

namespace transfer {

bool buildLoginBlock(std::string_view unitId, std::string_view versionText, LoginBlock& out) {
  if (unitId.empty() || !fitsField(unitId, LoginBlock::kUnitIdSize) ||
      !fitsField(versionText, LoginBlock::kVersionSize))
    return false;
  LoginBlock block;
  block.setText8(LoginBlock::kUnitId, LoginBlock::kUnitIdSize, unitId);
  block.setU32(LoginBlock::kFormat, kLoginFormat);
  block.setText8(LoginBlock::kVersion, LoginBlock::kVersionSize, versionText);
  out = block;
  return true;
}

WireParse parseLoginBlock(const std::uint8_t* bytes, std::size_t size, LoginBlock& out) {
  if (bytes == nullptr || size < LoginBlock::kSize) return WireParse::kShort;
  if (!terminated(bytes, LoginBlock::kUnitId, LoginBlock::kUnitIdSize) ||
      (base::getU32(bytes + LoginBlock::kFormat) == kLoginFormat &&
       !terminated(bytes, LoginBlock::kVersion, LoginBlock::kVersionSize)))
    return WireParse::kUnterminatedName;
  std::copy(bytes, bytes + LoginBlock::kSize, out.bytes().begin());
  return WireParse::kOk;
}

}  // namespace transfer
