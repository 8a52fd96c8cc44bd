#include "lib/glare_report.h"

#include "common/text_format.h"

std::string glare_result_line(const GlareIndices& g) {
    return strprintf("dgp,dgi,ugr,vcp,cgi,Lveil: %f %f %f %f %f %f  \n", g.dgp, g.dgi, g.ugr, g.vcp, g.cgi, g.veil);
}

std::string glare_details(const GlareAnalysis& a) {
    std::string text;
    text += strprintf("vertical illuminance Ev: %.2f lx\n", a.illuminance);
    text += strprintf("solid angle of the view: %.6f sr\n", a.solid_angle);
    text += strprintf("average luminance: %.2f cd/m2\n", a.average);
    text += strprintf("task luminance: %.2f cd/m2\n", a.task_luminance);
    text += strprintf("glare threshold: %.2f cd/m2\n", a.threshold);
    text += strprintf("direct illuminance of the sources: %.2f lx\n", a.direct_illuminance);
    text += strprintf("background luminance: %.2f cd/m2\n", a.background);
    text += strprintf("discomfort glare rating: %.4f\n", a.indices.dgr);
    text += strprintf("glare sources: %zu\n", a.summaries.size());
    text += "source pixels x y solid_angle L Lmax P sigma tau E\n";
    for (const auto& s : a.summaries)
        text += strprintf("%d %d %.1f %.1f %.6g %.2f %.2f %.4f %.3f %.3f %.3f\n", s.number + 1, s.pixels, s.x, s.y,
                          s.solid_angle, s.luminance, s.max_luminance, s.position_index, s.angles.off_axis,
                          s.angles.from_up, s.illuminance);
    return text;
}
