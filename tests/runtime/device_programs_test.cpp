// Programs in the text form that use the serial port and the printer: a
// report that opens the port, prints the level's headings and lines and
// closes it again; the same program without a port layer, which must see
// the refusals as results and statuses and go on running.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "fake_ports.hpp"
#include "runtime/serial_program_ports.hpp"
#include "serial/port_layer.hpp"
#include "support/fake_serial.hpp"
#include "program_rig.hpp"
#include "runtime/builtin_table.hpp"
#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

namespace k = ui::key;
using runtime_test::FakePorts;
using runtime_test::ProgramRun;
using runtime_test::SessionRig;

ProgramRun runIn(SessionRig& rig, const std::string& source) { return runtime_test::runProgram(source, rig.m, rig.run); }

// Opens port 3 at 4800 baud, even parity, 7 data bits, 1 stop bit; when that
// works prints the headings and every line of the current level (code left
// in 6, diameter right in 6), stopping when a print answers 27, and closes
// the port: ends with 1, or 2 when the port did not open.
constexpr const char* kReport = R"(
num opened
num line = 1
num lines
num printed
num result
    ref opened
    push 3
    push 4800
    push 1
    push 7
    push 1
    call openPortWith
    op =
    get opened
    if
        ref result
        push 1          ; the column titles
        push 1          ; in the columns' widths
        push 2          ; two blanks between
        call printHeadings
        op =
        get result
        if
            jump done   ; printing stopped
        endif
        ref lines
        call lines
        op =
        while
            get line
            get lines
            op <=
        do
            ref result
            push 0
            push 1
            get line
            push 6
            push 2
            call printValue
            op =
            get result
            if
                jump done   ; printing stopped
            endif
            push 0
            push 2
            get line
            push 6
            push 1
            call printValue/5/0
            call printLineEnd/0/0
            ref printed
            op ++
            ref line
            op ++
        loop
done:
        call closePort/0/0
        push 1
    else
        push 2
    endif
    end
)";

struct PortRig : SessionRig {
  FakePorts ports;
  PortRig() {
    run.ports = &ports;
    openLevel();
  }
};

TEST(DevicePrograms, AReportOpensThePortPrintsTheLevelAndClosesIt) {
  PortRig rig;
  const ProgramRun r = runIn(rig, kReport);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 1);
  EXPECT_EQ(r.number("printed"), 2);
  EXPECT_EQ(rig.ports.sent, "Kind  Diame  \r\nPIPO    12.5\r\nABGR     3.0\r\n");
  ASSERT_EQ(rig.ports.opens.size(), 1u);
  const runtime::PortSettings& s = rig.ports.opens[0].settings;
  EXPECT_EQ(rig.ports.opens[0].port, 3);
  EXPECT_EQ(s.baud, 4800);
  EXPECT_EQ(s.parity, 'E');
  EXPECT_EQ(s.dataBits, 7);
  EXPECT_EQ(s.stopBits, 1);
  EXPECT_EQ(rig.ports.closes, std::vector<int>{3});
  EXPECT_EQ(rig.m.programPort, 0);
  EXPECT_EQ(rig.m.status, 0);
}

TEST(DevicePrograms, WithoutPortsTheReportSeesTheRefusalAndTheStatus) {
  SessionRig rig;
  rig.openLevel();
  ProgramRun r = runIn(rig, kReport);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 2);
  EXPECT_EQ(r.number("opened"), 0);
  EXPECT_EQ(rig.m.status, runtime::kErrPortNotAvailable);
  EXPECT_EQ(rig.m.programPort, 0);

  // Printing regardless: every print answers 27 and leaves status 36.
  r = runIn(rig, R"(
num a
num b
num c
    ref a
    push "abc"
    push 8
    push 1
    push 1
    call printFormatted
    op =
    ref b
    push 1
    push 0
    push 0
    call printHeadings
    op =
    ref c
    call printLineEnd
    op =
    get a
    get b
    op +
    get c
    op +
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 81);
  EXPECT_EQ(rig.m.status, runtime::kErrPrinterNotOpen);
  EXPECT_EQ(rig.host.pumps(), 0);  // nothing was waited for
}

TEST(DevicePrograms, TheProgramReadsTheStatusAndItsText) {
  for (int n : {124, 149})
    if (!runtime::builtinTable()[static_cast<std::size_t>(n)]) GTEST_SKIP() << "built-in " << n << " is not in the table";
  SessionRig rig;
  const ProgramRun r = runIn(rig, R"(
num s1
num s2
str t1[40]
str t2[40]
    push 2
    push 9600
    call openPort/2/0
    ref s1
    call status
    op =
    svar t1
    call statusText
    op =
    push "x"
    push 0
    push 0
    push 0
    call printFormatted/4/0
    ref s2
    call status
    op =
    svar t2
    call statusText
    op =
    push 1
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("s1"), runtime::kErrPortNotAvailable);
  EXPECT_EQ(r.text("t1"), "Port Not Available       ");  // status texts are 25 characters
  EXPECT_EQ(r.number("s2"), runtime::kErrPrinterNotOpen);
  EXPECT_EQ(r.text("t2"), "Printer Port Not Open    ");
}

TEST(DevicePrograms, PrintingAbortedByTheCrewStopsTheReportWhichStillClosesItsPort) {
  PortRig rig;
  rig.ports.busyLooks = 1000;  // earlier output that never goes
  rig.script.key(k::kEscape).key('y').key(' ');
  const ProgramRun r = runIn(rig, kReport);
  ASSERT_EQ(r.error(), 0);  // aborting the printing is not a run error
  EXPECT_EQ(r.outcome.value, 1);
  EXPECT_EQ(r.number("printed"), 0);
  EXPECT_EQ(r.number("result"), 27);
  EXPECT_EQ(r.number("line"), 1);
  EXPECT_EQ(rig.ports.purges, 1);
  EXPECT_TRUE(rig.ports.sent.empty());
  EXPECT_EQ(rig.ports.closes, std::vector<int>{3});
}

}  // namespace

// The same report on the serial port layer: the device at the other end of
// COM 3 receives the printed lines byte for byte, with the line settings the
// program chose, and the port is closed when the program ends.
struct SerialRig : SessionRig {
  testsupport::FakeSerialPorts devices;
  serial::PortLayer layer{devices.opener()};
  runtime::SerialProgramPorts ports{layer};
  SerialRig() {
    run.ports = &ports;
    openLevel();
    // The printer waits, pumping, while the reader thread sends: no keys
    // come meanwhile (the key script would abort the run when it has none).
    host.onPump = [] { std::this_thread::yield(); };
  }
};

TEST(DevicePrograms, AReportOnASerialPortArrivesByteForByte) {
  SerialRig rig;
  auto printer = rig.devices.line(3);
  const ProgramRun r = runIn(rig, kReport);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 1);
  EXPECT_EQ(r.number("printed"), 2);
  // The run closed the port: everything queued was written before.
  EXPECT_EQ(printer->sent(), "Kind  Diame  \r\nPIPO    12.5\r\nABGR     3.0\r\n");
  EXPECT_EQ(printer->settings().parity, 'E');
  EXPECT_EQ(printer->settings().dataBits, 7);
  EXPECT_EQ(printer->settings().baud, 4800u);
  EXPECT_FALSE(rig.layer.isOpen(3));
  EXPECT_TRUE(printer->closed());
}

TEST(DevicePrograms, ASerialPortThatIsMissingOrTheSensorsIsRefused) {
  SerialRig rig;  // no device behind COM 3
  ProgramRun r = runIn(rig, kReport);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 2);
  EXPECT_EQ(rig.m.status, runtime::kErrCantOpenPort);

  (void)rig.devices.line(3);
  rig.run.sensorPort = 3;  // the current column reads its sensor there
  r = runIn(rig, kReport);
  EXPECT_EQ(r.outcome.value, 2);
  EXPECT_EQ(rig.m.status, runtime::kErrPortNotAvailable);
  EXPECT_EQ(rig.devices.opens(3), 1);  // only the first run tried it
}
