// `kestrune info`: loads a plug-in, asks it what a host asks, and prints the answers.
#pragma once

#include <string>

// Prints the report on stdout; whatever the plug-in itself prints meanwhile goes to stderr.
void runInfo(const std::string& plugin, bool json);
