// kelvora-ini: reads an iii_kelvora.ini with the camera plug-in's own parser and explains
// what the plug-in will make of it.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

// Exit statuses.
constexpr int InspectClean = 0;
constexpr int InspectWarnings = 1;
constexpr int InspectUnreadable = 2;

// Prints the settings record the text yields (each field, its value, and the line it came
// from or "default") and a warning for each surprising line. Returns InspectClean or
// InspectWarnings.
int InspectSettingsText(std::string_view text, std::ostream& out);

// The command line: kelvora-ini [--help] FILE.
int RunInspector(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The name of a Windows virtual-key code ("Alt", "F5"), or empty when unknown.
std::string VirtualKeyName(int32_t code);
