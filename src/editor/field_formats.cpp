#include "editor/field_formats.hpp"

#include "base/text.hpp"

namespace editor {

bool isDateType(int fieldType) {
  return fieldType == kTypeDateMdy || fieldType == kTypeDateYmd || fieldType == kTypeDateMdyyyy ||
         fieldType == kTypeDateYyyymd;
}

bool isTimeType(int fieldType) { return fieldType == kTypeTime || fieldType == kTypeTimeMs; }

namespace {

// Three parts of the given lengths one after another, a separator between
// them in character fields.
void layParts(int first, int second, int third, bool numericField, TextPart& a, TextPart& b,
              TextPart& c, int& width) {
  int gap = numericField ? 0 : 1;
  a = {0, first};
  b = {first + gap, second};
  c = {b.start + second + gap, third};
  width = c.start + third;
}

std::string templateOf(int first, int second, int third, bool numericField, char separator) {
  std::string out(static_cast<std::size_t>(first), ' ');
  if (!numericField) out += separator;
  out.append(static_cast<std::size_t>(second), ' ');
  if (!numericField) out += separator;
  out.append(static_cast<std::size_t>(third), ' ');
  return out;
}

std::string withoutChar(std::string text, char drop) {
  std::erase(text, drop);
  return text;
}

}  // namespace

bool dateLayout(int fieldType, bool numericField, DateLayout& layout) {
  switch (fieldType) {
    case kTypeDateMdy:
      layParts(2, 2, 2, numericField, layout.month, layout.day, layout.year, layout.width);
      return true;
    case kTypeDateMdyyyy:
      layParts(2, 2, 4, numericField, layout.month, layout.day, layout.year, layout.width);
      return true;
    case kTypeDateYmd:
      layParts(2, 2, 2, numericField, layout.year, layout.month, layout.day, layout.width);
      return true;
    case kTypeDateYyyymd:
      layParts(4, 2, 2, numericField, layout.year, layout.month, layout.day, layout.width);
      return true;
    default:
      return false;
  }
}

TimeLayout timeLayout(bool numericField) {
  TimeLayout layout;
  layParts(2, 2, 2, numericField, layout.hour, layout.minute, layout.second, layout.width);
  return layout;
}

std::string dateTemplate(int fieldType, bool numericField) {
  switch (fieldType) {
    case kTypeDateMdy:
    case kTypeDateYmd: return templateOf(2, 2, 2, numericField, kDateSeparator);
    case kTypeDateMdyyyy: return templateOf(2, 2, 4, numericField, kDateSeparator);
    case kTypeDateYyyymd: return templateOf(4, 2, 2, numericField, kDateSeparator);
    default: return {};
  }
}

std::string timeTemplate(bool numericField) { return templateOf(2, 2, 2, numericField, kTimeSeparator); }

std::string formatDate(const platform::DateTime& at, int fieldType, bool numericField) {
  std::string text;
  switch (fieldType) {
    case kTypeDateMdy: text = base::format("%02d/%02d/%02d", at.month, at.day, at.year % 100); break;
    case kTypeDateYmd: text = base::format("%02d/%02d/%02d", at.year % 100, at.month, at.day); break;
    case kTypeDateMdyyyy: text = base::format("%02d/%02d/%04d", at.month, at.day, at.year); break;
    case kTypeDateYyyymd: text = base::format("%04d/%02d/%02d", at.year, at.month, at.day); break;
    default: return {};
  }
  return numericField ? withoutChar(std::move(text), kDateSeparator) : text;
}

std::string formatTime(const platform::DateTime& at, int fieldType, bool numericField, int width) {
  std::string text;
  if (fieldType == kTypeTime) {
    text = base::format("%02d:%02d:%02d", at.hour, at.minute, at.second);
  } else if (fieldType == kTypeTimeMs) {
    text = base::format("%02d:%02d:%02d.%03d", at.hour, at.minute, at.second, at.millisecond);
  } else {
    return {};
  }
  if (!numericField) return text;
  text = withoutChar(std::move(text), kTimeSeparator);
  if (width > 0 && static_cast<int>(text.size()) > width) text.resize(static_cast<std::size_t>(width));
  return text;
}

std::string todayText(int fieldType, bool numericField) {
  return formatDate(platform::clock().localTime(), fieldType, numericField);
}

std::string timeNowText(int fieldType, bool numericField, int width) {
  return formatTime(platform::clock().localTime(), fieldType, numericField, width);
}

}  // namespace editor
