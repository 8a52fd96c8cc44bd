#pragma once
// The picture programs as the benchmarks run them: our built programs
// through a runner whose desktop answers nothing and shows nothing (the
// statistics need only the progress calls and, on failure, a message box,
// kept for the benchmark's error).

#include <string>

#include "macro/macro_recorder.h"
#include "support/scripted_desktop.h"
#include "tools/process_runner.h"

class QuietDesktop : public ScriptedDesktop {
public:
    void message_box(const std::string& text, const std::string&, MessageIcon, Owner) override { last_message = text; }

    std::string last_message;
};

struct Programs {
    QuietDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
    Programs() { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }
};
