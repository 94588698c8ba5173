#include "tfabuild/images.hpp"

#include "base/text.hpp"
#include "platform/codepage.hpp"

namespace tfabuild {

namespace {

std::string n8(const std::string& utf8) { return platform::toNarrow(utf8); }

template <class Record>
void appendImages(std::string& out, const std::vector<Record>& records) {
  for (const auto& r : records) out.append(reinterpret_cast<const char*>(r.bytes().data()), Record::kSize);
}

template <class Record>
std::string joinedImages(const std::vector<Record>& records) {
  std::string out;
  appendImages(out, records);
  return out;
}

template <class Record>
std::string imageBytes(const Record& r) {
  return std::string(reinterpret_cast<const char*>(r.bytes().data()), Record::kSize);
}

apps::ScreenDef screenImage(const ScreenModel& s) {
  apps::ScreenDef d;
  d.setDisplayType(s.displayType);
  d.setDataText(s.dataText);
  d.setDataBack(s.dataBack);
  d.setPromptRow(s.promptRow);
  d.setShowLineNumbers(s.lineNumbers);
  bool line = s.displayType == 1 || s.displayType == 2;
  int firstGrid = s.firstGridRow > 0 ? s.firstGridRow : (line ? 2 : (s.twoLineTitles ? 4 : 3));
  d.setFirstGridRow(firstGrid);
  d.setLastGridRow(s.lastGridRow > 0 ? s.lastGridRow : 22);
  d.setTwoLineTitles(s.twoLineTitles);
  std::string label = n8(s.lineLabel);
  d.setLineLabel(label);
  if (s.lineNumbers) {
    // Row 1: the label ends five cells before the 4-wide number at c - 4.
    d.setLineLabelRow(1);
    d.setLineLabelColumn(80 - static_cast<int>(label.size()) - 5);
    d.setLineNumberRow(1);
    d.setLineNumberColumn(80 - 4);
  }
  d.setHeadingCount(static_cast<int>(s.headings.size()));
  for (std::size_t i = 0; i < s.headings.size(); ++i) {
    const HeadingModel& h = s.headings[i];
    d.setHeading(static_cast<int>(i), apps::ScreenDef::Heading{n8(h.label), h.column.level, h.column.column, h.row,
                                                               h.col, h.width});
  }
  return d;
}

void columnCheck(const ColumnModel& c, apps::ColumnCheck& k) {
  k.setFieldType(c.fieldType);
  k.setFillKind(c.fillKind);
  k.setFillOnEntry(c.fillOnEntry);
  k.setEditKind(c.editKind);
  k.setUpperCase(c.upperCase);
  k.setWaitWhenFull(c.waitWhenFull);
  k.setUnique(c.unique);
  k.setNoEdit(c.noEdit);
  k.setCheckEmpty(c.required);
  k.setRequiredBeforeChild(c.requiredBeforeChild);
  k.setListEntry(c.listEntry);
  const CheckModel& ch = c.check;
  k.setCheckType(ch.type);
  k.setMinimum(ch.minimum);
  k.setMaximum(ch.maximum);
  k.setMinTextLength(ch.minLength);
  k.setCheckFile(n8(ch.file));
  k.setReplaceBySecond(ch.replace);
  k.setSequentialSearch(ch.sequential);
  k.setRelationKind(ch.relationKind);
  k.setRelationLevel(ch.relation.level);
  k.setRelationColumn(ch.relation.column);
  k.setLowLevel(ch.low.level);
  k.setLowColumn(ch.low.column);
  k.setHighLevel(ch.high.level);
  k.setHighColumn(ch.high.column);
  k.setWarnRange(ch.warn);
  k.setWarnMinimum(ch.warnMinimum);
  k.setWarnMaximum(ch.warnMaximum);
  k.setOverrideAllowed(ch.override);
  k.setOverrideEmpty(ch.overrideEmpty);
  k.setJumpIndex(c.jumpIndex);
  k.setLookupKind(c.lookupKind);
  k.setLookupFile(n8(c.lookupFile));
  k.setText(n8(c.text));
  k.setStartValue(c.start);
  k.setStep(c.step);
  k.setCycleCount(c.cycle);
  k.setRandomIndex(c.randomIndex);
  k.setParentLevel(c.parent.level);
  k.setParentColumn(c.parent.column);
  k.setSerialIndex(c.serialIndex);
  k.setGoToOnLineChange(c.goToOnLineChange);
  k.setGoToTarget(c.goToTarget);
  for (std::size_t e = 0; e < c.programs.size(); ++e) k.setProgram(static_cast<int>(e), n8(c.programs[e]));
}

apps::SerialDef serialImage(const SerialModel& m) {
  apps::SerialDef s;
  s.setClosePort(m.closePort);
  s.setPort(m.port);
  s.setBaud(m.baud);
  s.setParity(m.parity);
  s.setDataBits(m.dataBits);
  s.setStopBits(m.stopBits);
  s.setFlow(m.flow);
  s.setTerminator(m.terminator);
  s.setMode(m.mode);
  s.setRequest(n8(m.request));
  s.setMatchKind(m.matchKind);
  s.setMatchPos(m.matchPos);
  s.setMatchText(n8(m.matchText));
  s.setSource(m.source);
  s.setStart(m.start);
  s.setLength(m.length);
  s.setDelims(n8(m.delimiters));
  s.setValueToken(m.valueToken);
  for (std::size_t i = 0; i < m.showTokens.size(); ++i) s.setShowToken(static_cast<int>(i), m.showTokens[i]);
  s.setShowCount(static_cast<int>(m.showTokens.size()));
  s.setShowSep(n8(m.showSeparator));
  s.setProgram(n8(m.program));
  s.setMultiColumn(m.multiColumn);
  s.setValidateEach(m.validateEach);
  s.setTargetCount(static_cast<int>(m.targets.size()));
  for (std::size_t i = 0; i < m.targets.size(); ++i) {
    s.setTarget(static_cast<int>(i), m.targets[i].column, m.targets[i].token, m.targets[i].suffix);
  }
  s.setJoin(n8(m.join));
  return s;
}

}  // namespace

std::string LevelImages::bctBytes() const { return imageBytes(bct); }

std::string LevelImages::ctlBytes() const {
  std::string out = imageBytes(header) + imageBytes(info);
  appendImages(out, fields);
  appendImages(out, defs);
  appendImages(out, checks);
  return out;
}

std::string LevelImages::serBytes() const { return joinedImages(serial); }
std::string LevelImages::rndBytes() const { return joinedImages(random); }
std::string LevelImages::jptBytes() const { return joinedImages(jumps); }
std::string LevelImages::bcfBytes() const { return joinedImages(conditions); }

apps::AppCtl appCtlImage(const AppModel& app) {
  apps::AppCtl a;
  a.setAppName(n8(app.name));
  a.setCompiled(app.compiled);
  a.setUseDatasets(app.useDatasets);
  a.setKeepChildFields(app.keepChildFields);
  a.setKeepStatusFields(app.keepStatusFields);
  a.setKeepPosition(app.keepPosition);
  a.setClearCoordFiles(app.clearCoordFiles);
  for (const auto& [offset, value] : app.options) a.setOption(offset, static_cast<std::int16_t>(value));
  for (int i = 0; i < 5; ++i) a.setGpsLimit(i, static_cast<std::int16_t>(app.gpsLimits[static_cast<std::size_t>(i)]));
  a.setGlobalProgramCount(static_cast<int>(app.programs.size()));
  for (std::size_t i = 0; i < app.programs.size(); ++i) a.setGlobalProgram(static_cast<int>(i), n8(app.programs[i]));
  for (int i = 0; i < 4; ++i) a.setStoredValue(i, app.storedValues[static_cast<std::size_t>(i)]);
  if (!app.levels.empty()) a.setRootTableName(n8(app.levels.front().table));
  return a;
}

LevelImages levelImages(const AppModel& app, int index) {
  const LevelModel& l = app.levels[static_cast<std::size_t>(index)];
  LevelImages im;
  int c = static_cast<int>(l.columns.size());

  apps::LevelBct& b = im.bct;
  b.setLastColumn(c);
  b.setSerCount(static_cast<int>(l.serial.size()));
  b.setRndCount(static_cast<int>(l.random.size()));
  b.setJptCount(static_cast<int>(l.jumps.size()));
  b.setBcfCount(static_cast<int>(l.conditionRows.size()));
  b.setLevelName(n8(l.name));
  b.setLevelCodeText(l.code);
  b.setChildCount(static_cast<int>(l.children.size()));
  for (std::size_t i = 0; i < l.children.size(); ++i) {
    const LevelModel& child = app.levels[static_cast<std::size_t>(l.children[i])];
    b.setChildName(static_cast<int>(i) + 1, n8(child.table));
    b.setChildBlocked(static_cast<int>(i) + 1, child.blocked);
  }
  if (l.parent >= 0) {
    int n = 0;
    for (int sibling : app.levels[static_cast<std::size_t>(l.parent)].children) {
      if (sibling == index) continue;
      const LevelModel& s = app.levels[static_cast<std::size_t>(sibling)];
      ++n;
      b.setSiblingName(n, n8(s.table));
      b.setSiblingBlocked(n, s.blocked);
    }
    b.setSiblingCount(n);
  }
  b.setGpsPointMode(l.gpsPointMode);
  b.setGpsAverageCount(l.gpsAverage);
  b.setGpsAllowUnfinished(l.gpsAllowUnfinished);
  b.setGpsLatColumn(l.gpsLat);
  b.setGpsLonColumn(l.gpsLon);
  b.setGpsElevColumn(l.gpsElev);
  b.setGpsLines(l.gpsLines);
  b.setGpsLineInterval(l.gpsLineInterval);
  b.setGpsPolygons(l.gpsPolygons);
  b.setGpsPolygonInterval(l.gpsPolygonInterval);

  apps::LevelHeader& h = im.header;
  h.setInsertAllowed(l.insertAllowed);
  h.setDeleteAllowed(l.deleteAllowed);
  h.setAutoNewLine(l.autoNewLine);
  h.setCheckOnLineChange(l.checkOnLineChange);
  h.setCheckOnLeave(l.checkOnLeave);
  h.setCheckOnSibling(l.checkOnSibling);
  h.setRevalidate(l.revalidate);
  h.setRemoveEmptyLines(l.removeEmptyLines);
  h.setCheckLineBeforeChild(l.checkLineBeforeChild);
  h.setMaxLines(l.maxLines);
  h.setFirstLine(l.firstLine);
  int first = 0, last = 0;
  enterableRange(l, first, last);
  h.setFirstEnterableColumn(first);
  h.setLastEnterableColumn(last);
  h.setScreenCount(static_cast<int>(l.screens.size()));
  for (std::size_t s = 0; s < l.screens.size(); ++s) h.setScreen(static_cast<int>(s), screenImage(l.screens[s]));
  for (std::size_t e = 0; e < l.events.size(); ++e) h.setEventProgram(static_cast<int>(e), n8(l.events[e]));

  apps::LevelInfo& info = im.info;
  info.setDescription(n8(l.description));
  info.setProgramCount(static_cast<int>(l.programs.size()));
  for (std::size_t p = 0; p < l.programs.size(); ++p) info.setProgram(static_cast<int>(p), n8(l.programs[p]));
  info.setConditionCount(static_cast<int>(l.conditionColumns.size()));
  for (std::size_t i = 0; i < l.conditionColumns.size(); ++i) {
    const ColumnRef& ref = l.conditionColumns[i];
    info.setConditionColumn(static_cast<int>(i), ref.column);
    info.setConditionSource(static_cast<int>(i), ref.level == l.depth ? 0 : ref.level);
  }

  im.fields.assign(static_cast<std::size_t>(c) + 1, apps::ColumnField{});
  im.defs.assign(static_cast<std::size_t>(c) + 1, apps::ColumnDef{});
  im.checks.assign(static_cast<std::size_t>(c) + 1, apps::ColumnCheck{});
  for (int k = 1; k <= c; ++k) {
    const ColumnModel& col = l.columns[static_cast<std::size_t>(k - 1)];
    apps::ColumnField& f = im.fields[static_cast<std::size_t>(k)];
    f.setName(base::toUpper(col.field));
    f.setTitle(n8(col.title));
    f.setType(col.type);
    f.setWidth(col.width);
    f.setDecimals(col.decimals);
    apps::ColumnDef& d = im.defs[static_cast<std::size_t>(k)];
    d.setTitle2(n8(col.title2));
    d.setPrompt(n8(col.prompt));
    d.setHeading(n8(col.heading));
    columnCheck(col, im.checks[static_cast<std::size_t>(k)]);
  }
  placeColumns(l, im.defs);
  defaultMoves(l, im.checks);

  if (!l.serial.empty()) {
    im.serial.push_back(apps::SerialDef{});
    for (const auto& s : l.serial) im.serial.push_back(serialImage(s));
  }
  if (!l.random.empty()) {
    im.random.push_back(apps::RndEntry{});
    for (const auto& m : l.random) {
      apps::RndEntry e;
      e.setDeferred(m.deferred);
      e.setMode(m.mode);
      e.setLow(m.low);
      e.setHigh(m.high);
      e.setLowLevel(m.lowFrom.level);
      e.setLowColumn(m.lowFrom.column);
      e.setHighLevel(m.highFrom.level);
      e.setHighColumn(m.highFrom.column);
      im.random.push_back(e);
    }
  }
  if (!l.jumps.empty()) {
    im.jumps.push_back(apps::JumpEntry{});
    for (const auto& m : l.jumps) {
      apps::JumpEntry e;
      e.setMatchKind(m.match);
      e.setSourceLevel(m.source.level);
      e.setSourceColumn(m.source.column);
      e.setRelationKind(m.relationKind);
      e.setRelationLevel(m.relation.level);
      e.setRelationColumn(m.relation.column);
      e.setFile(n8(m.file));
      im.jumps.push_back(e);
    }
  }
  for (const auto& row : l.conditionRows) {
    apps::BcfEntry e;
    for (std::size_t i = 0; i < row.when.size(); ++i) {
      e.setKind(static_cast<int>(i), row.when[i].kind);
      e.setText(static_cast<int>(i), n8(row.when[i].text));
      e.setRange(static_cast<int>(i), row.when[i].low, row.when[i].high);
    }
    for (int k = 1; k < static_cast<int>(row.actions.size()); ++k) e.setAction(k, row.actions[static_cast<std::size_t>(k)]);
    im.conditions.push_back(e);
  }
  return im;
}

apps::TfaHeader headerImage(const AppModel& app) {
  apps::TfaHeader hd;
  const VersionModel& v = app.version;
  hd.setAppName(n8(app.name) + ".tfa");
  hd.setHasVersion(v.present ? 1 : 0);
  hd.setAppVMajor(v.major);
  hd.setAppVMinor(v.minor);
  hd.setAppBuild(v.build);
  hd.setAppDate(n8(v.date));
  hd.setHierVer(v.structure);
  hd.setHierDate(n8(v.structureDate));
  hd.setHierTime(n8(v.structureTime));
  if (!v.password.empty()) hd.setAppPassword(v.password);
  return hd;
}

}  // namespace tfabuild
