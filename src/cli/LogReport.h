#pragma once

#include <cstdio>

class SaleDayReader;

// The bet log window's caption and the texts of its five views, as the log command prints them, written
// to the stream as they are made (a heavy day's accepted bets alone run to megabytes). The JSON form keeps
// the window's texts as they are (CR LF inside); the readable form has one heading per view.
void writeLogJson(FILE* stream, const SaleDayReader& pat);
void writeLogText(FILE* stream, const SaleDayReader& pat);
