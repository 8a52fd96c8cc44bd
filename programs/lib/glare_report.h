#pragma once
// What evalglare prints: the one result line callers parse, and the
// detailed account of -d. Numbers are written in the C locale's form.

#include <string>

#include "lib/glare_analysis.h"

// "dgp,dgi,ugr,vcp,cgi,Lveil: " and the six figures with six decimals,
// separated by blanks, then two blanks and a line end.
std::string glare_result_line(const GlareIndices& indices);

// The scene's figures and one line per source, for a person reading.
std::string glare_details(const GlareAnalysis& analysis);
