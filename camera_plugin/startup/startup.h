#pragma once

// The plug-in's own directory, ending in a backslash. Computed at the first call.
const char* PluginDirectory();

// Reads iii_kelvora.ini from the plug-in's directory into Settings.
void LoadSettings();
