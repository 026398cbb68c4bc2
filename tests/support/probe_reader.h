// Reading what launch_probe.exe recorded: its lines cmdline=, cwd=, flags=
// and show=, from the file the test named in ZENTOR_PROBE_OUT.
#ifndef ZENTOR_PROBE_READER_H
#define ZENTOR_PROBE_READER_H

#include <map>
#include <string>

// launch_probe.exe beside the running test executable.
std::string probePath();

// The probe's lines as the file holds them now (empty when it is not there).
std::map<std::string, std::string> probeLines(const std::string& file);

// Waits until the probe's file can be read whole (just after the probe moves
// it in place Wine may still refuse to open it for a moment); empty when it
// did not appear in time.
std::map<std::string, std::string> probeResult(const std::string& file);

#endif
