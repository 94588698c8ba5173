#include "base/paths.hpp"

namespace base {

std::string setTrailingSlash(std::string_view path, bool on, char sep) {
  std::string out(path);
  bool ends = !out.empty() && out.back() == sep;
  if (on && !ends) out.push_back(sep);
  if (!on && ends) out.pop_back();
  return out;
}

std::string joinPath(std::string_view folder, std::string_view name, char sep) {
  std::string out(folder);
  if (!out.empty() && out.back() != sep && (name.empty() || name.front() != sep)) out.push_back(sep);
  out.append(name);
  return out;
}

bool fileNamePart(std::string_view path, std::string& out, char sep) {
  if (path.find('.') == std::string_view::npos) return false;
  std::size_t cut = path.rfind(sep);
  out.assign(cut == std::string_view::npos ? path : path.substr(cut + 1));
  return true;
}

std::string folderPart(std::string_view path, char sep) {
  std::size_t cut = path.rfind(sep);
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

}  // namespace base
