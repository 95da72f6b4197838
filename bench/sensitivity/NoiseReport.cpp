#include "bench/sensitivity/NoiseReport.h"

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/ReportText.h"

namespace seaherald::sensitivity {

void WriteNoiseReport(std::ostream& out, const std::vector<NoiseOutcome>& outcomes,
                      const std::string& commandLine, double seconds) {
  out << "# False alarms from noise\n\n"
      << "Nothing sent: white Gaussian noise held at " << AudioRmsLevel
      << " rms (16-bit samples), as the AGC holds it when no station is on, and the same noise "
         "with static crashes on top where the row says so (the crashes of the sensitivity "
         "sweep). Each path hears the very same noise, through one receiving window that runs "
         "the whole time: the block handler and message log with the default settings "
         "(automatic language and polarity, starting in Japanese; ErrNum 10 with ErrSave on; "
         "TimeOut 30 s) and a fresh log folder. Lines: lines the decoder handed over (cut: of "
         "them, ended short on losing sync). Characters: in those lines, line ends not "
         "counted. Filed: log files written; a receiver should file none.\n\n"
      << "| Path | Noise | Hours | Lines | Cut | Characters | Filed |\n"
         "|---|---|---:|---:|---:|---:|---:|\n";
  for (const NoiseOutcome& o : outcomes) {
    out << "| " << PathName(o.path) << " | "
        << (o.crashes ? "white + " + CrashesName(*o.crashes) : std::string("white")) << " | "
        << Format("%g", o.hours) << " | " << o.lines << " | " << o.cutLines << " | " << o.characters
        << " | " << o.filed << " |\n";
  }
  out << "\nMeasured in " << Format("%.0f", seconds) << " s with `" << commandLine << "`.\n";
}

}  // namespace seaherald::sensitivity
