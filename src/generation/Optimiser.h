#pragma once
// The path optimiser: rewrites a generated program without repeated words, with the runs of
// points at one depth merged by the rules of the strategy family that wrote it, with the
// header and trailer rebuilt, a final retract line and a corrected parameter line.
class RewriteHost;
class TStrings;

// Message-file line shown when the parameter line is missing or does not read.
constexpr int MsgBadHeader = 12;

// The optimiser step of a run: does nothing unless "Prg_optimieren" is ticked. Moves the
// program out of the editor, rewrites it back into the editor (empty after an abort) and
// leaves the clipboard empty; the run copies the result.
void RunOptimiser(RewriteHost& host);

// The rewrite of `scratch` (the program as generated) into the editor, which is empty.
// The memory of the lines read goes over to the editor's text as the rewrite goes on, so
// `scratch` is used up. Leaves StrategyIndex as it found it; komma may take the program's
// decimals.
void weg_Optimieren(RewriteHost& host, TStrings& scratch);
