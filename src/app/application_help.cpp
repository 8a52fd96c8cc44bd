#include "app/application_help.h"

#include "common/manual_page.h"

std::string application_help_text() {
    return R"(usage: candelux [PICTURE]
       candelux --help | --version

Opens PICTURE, a Radiance picture (.hdr or .pic), in the candelux window, or
an empty window without one. Read the luminance under the mouse in cd/m2,
draw regions and analyse them, show falsecolor maps, compute glare indices,
calibrate against a meter, export tone-mapped pictures, capture exposure
series and replay recorded sequences on folders of pictures.

environment:
  CANDELUX_PROGRAMS   the folder of the picture programs, e.g. the bin folder
                      of a Radiance installation (default: the programs
                      installed with candelux)
  XDG_CONFIG_HOME     settings in candelux/settings.asf below it (default
                      ~/.config)
  XDG_CACHE_HOME      the default cache folder, candelux below it (default
                      ~/.cache); it holds the working copy of the open picture
)";
}

std::string application_manual_page() {
    ManualPage page{"candelux", "luminance analysis of high-dynamic-range Radiance pictures", CANDELUX_VERSION, {}};
    page.sections.push_back({"Synopsis", application_help_text()});
    page.sections.push_back({"See also", "candelux-cli(1)\n"});
    return roff_manual_page(page);
}
