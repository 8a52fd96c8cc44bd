#pragma once
// evalglare's whole run: read the picture, settle the view, analyse, write
// the check picture, print the result line on standard output (notices go
// to standard error first).

#include "lib/glare_options.h"
#include "lib/program_status.h"

ProgramStatus evaluate_glare(const GlareOptions& options);
