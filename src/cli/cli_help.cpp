#include "cli/cli.h"

namespace {

constexpr const char* overview = R"(usage: candelux-cli COMMAND ARGUMENTS...

Luminance analysis of Radiance pictures from scripts, through the same code
as the candelux windows.

  luminance PICTURE X Y          the luminance readout of pixel (X, Y)
  stats PICTURE [options]        the statistics of a region, of two, or of a region file's
  illuminance PICTURE            the illuminance at the lens of a picture with a view
  falsecolor PICTURE OUT.bmp     the falsecolor picture and its legend
  batch SEQUENCE FOLDER          replay a sequence file on every picture
  assemble OUT.hdr PICTURE...    an exposure series into a luminance picture
  capture FOLDER                 one exposure series from the tethered camera
  profile ACTION ...             camera profiles: image circle, vignetting, response, show
  series FOLDER --csv OUT.csv    illuminance, glare and regions of every picture over time

candelux-cli COMMAND --help tells more. Exit status: 0 done, 1 the work
failed (a program, a write, a batch step), 2 the input was refused (nothing
was written), 128 + N stopped by signal N (Ctrl-C, SIGTERM, SIGHUP; the
running program is stopped and its partial output removed).
)";

constexpr const char* luminance = R"(usage: candelux-cli luminance PICTURE X Y

Prints what the status bar shows for a click on pixel (X, Y): column X, row
Y, counted from 0 at the top left, in cd/m2.
)";

constexpr const char* stats = R"(usage: candelux-cli stats PICTURE [REGION | --regions FILE] [options]

The statistics of the results page: minimum, maximum, mean, median, standard
deviation, and on request the percentile ratio and the criterion result.

REGION (none: the whole picture), in picture pixels:
  --rect X0,Y0,X1,Y1       a rectangle by two corners
  --circle R,CX,CY         a circle by its radius and centre
  --polygon 'X,Y;X,Y;...'  a polygon of 4 to 256 vertices
  --mask FILE              a mask file (.hdr, .pic, .bmp, .tif); its dark pixels are left out
A region must lie inside the picture.

options:
  --percentile UPPER,LOWER   the percentile ratio (percentages 1 to 100)
  --criterion KIND,THRESHOLD KIND greater, lesser or equal; THRESHOLD in cd/m2
  --region-b REGION          a second region: Regions A and B and their contrast
  --report BASE              write BASE_stats.csv, BASE_hist.csv, BASE_region.csv and
                             BASE_geometry.csv as Save... does
  --overwrite                replace reports that exist already
  --weighted                 weight mean, standard deviation, median and percentile ratio
                             by each pixel's solid angle (pictures whose header has a view)
  --json                     one JSON object instead of the text: count, minimum, maximum,
                             mean, median, standard_deviation, criterion_percentage,
                             percentile_ratio, histogram_lo, histogram_hi, histogram;
                             through the lens: count_in_view, solid_angle_sr,
                             weighted_mean, vertical_illuminance_lx, illuminance_share
                             (null without a view) and ceiling_pixels; and
                             picture_vertical_illuminance_lx for the whole picture;
                             with --region-b: a, b, contrast and
                             picture_vertical_illuminance_lx
  --regions FILE             every region of a region file (see the README), each
                             with the figures a run on that region alone gives;
                             regions drawn on a picture of another size are scaled,
                             and a region outside the picture is refused by name.
                             With --json: {"regions": [{"name": ..., and the keys
                             above}, ...], "picture_vertical_illuminance_lx": ...};
                             with --report BASE: BASE_regions.csv
  --csv                      with --regions: the table as CSV, a header line and one
                             line per region (the columns of BASE_regions.csv)

Through the lens: the pixels outside a fisheye's image circle are not part of
any region; the solid angle is in sr, the weighted mean is sum(L w) / sum(w)
over the pixels' solid angles w, and the illuminance at the lens is
sum(L cos t w) in lux with t the angle off the view direction. Clipped pixels
are those within 1 % of the picture's largest value in patches of 4 or more
(or the count of the header's SATURATED= line).
)";

constexpr const char* illuminance = R"(usage: candelux-cli illuminance PICTURE [--weights bt709|radiance]

Prints the vertical illuminance at the lens, sum(L cos t w) in lux over the
pixels in view (w each pixel's solid angle, t its angle off the view
direction), from the view the picture's header gives; for a fisheye that
sees the whole hemisphere (180 degrees or more) also the hemispherical
illuminance, horizontal when the camera looks up. Pixels outside a fisheye's
image circle take no part. When the brightest pixels are clipped, says so.
A picture without a view is refused.

  --weights bt709      the luminance L of the readout and the statistics,
                       ITU-R BT.709's weights of red, green and blue (default)
  --weights radiance   Radiance's weights, as evalglare -V weighs colour: the
                       figure to compare with evalglare's; on coloured
                       daylight the two differ by a few per cent
)";

constexpr const char* falsecolor = R"(usage: candelux-cli falsecolor PICTURE OUT.bmp [--range LO,HI] [--overwrite]
       candelux-cli falsecolor PICTURE... --out-dir DIR [options]

Writes the falsecolor picture (24-bit BMP; ".bmp" is added when missing)
and prints its range and the six legend labels. Without --range the range
runs from the darkest to the brightest pixel; LO and HI are in cd/m2.

With --out-dir, writes DIR/NAME.bmp (or .png) for every picture NAME.hdr,
all on one scale, and prints the scale:
  --scale FILE    the scale of a scale file (see README.md)
  --range LO,HI   the window's logarithmic scale from LO to HI
  --auto-scale    the same from the darkest to the brightest pixel of all
                  the pictures (also when no scale is given)
  --contours      contour lines at the scale's steps over the picture
  --legend        the colour bar with its values and units beside each picture
  --extrema       the brightest and darkest pixels marked with their values
  --png           PNG files instead of BMP
  --overwrite     replace files that exist already (else nothing is written)
)";

constexpr const char* assemble = R"(usage: candelux-cli assemble OUTPUT.hdr PICTURE... [options]

Assembles an exposure series (8-bit JPEG, 8- or 16-bit TIFF pictures of one
scene) into one Radiance picture whose values are luminance in cd/m2:
L = K*N^2/(t*S) * signal/0.18, with the exposure time t, f-number N and ISO
speed S of each picture read from its EXIF data. Prints the exposures used,
the response curve's residual and the share of saturated pixels (over-
exposed even in the shortest exposure: their luminance is a lower bound).

options:
  --exposures T1,T2,...   exposure times (1/250, 0.5, 2), one per picture,
                          in place of EXIF ExposureTime; without f-number and
                          ISO in EXIF the values are relative
  --response FILE         use this response curve instead of recovering one
  --save-response FILE    write the curve used (the same format)
  --meter-constant K      the reflected-light meter constant (12.5)
  --align                 shift hand-held pictures onto the middle exposure
                          (median threshold bitmaps, translation only)
  --profile PROFILE       apply a camera profile (a name in the profile
                          folder or a .cdxprofile file): its response curve
                          unless --response is given, then the vignetting
                          correction, the crop to the image circle, the ND and
                          calibration factors, a VIEW= line for the lens and
                          "PROFILE= <name> <date>" in the header; refused when
                          the pictures' EXIF camera or lens differs
  --force                 apply the profile even so
  --meter-lux V           the Ev check: the illuminance an illuminance meter
                          read at the lens (lx), compared with the assembled
                          picture's vertical illuminance from its fisheye view
                          (which the profile's projection gives); prints
                          "Ev check: ..." and warns when they differ by more
                          than the tolerance
  --ev-tolerance P        the Ev check's tolerance in percent (the one last
                          set in the assembly dialog, else 10)
  --overwrite             replace OUTPUT.hdr
  --json                  print one JSON object: output, width, height,
                          exposures (with shift when aligned), response,
                          response_residual, saturated, saturated_share,
                          absolute, and with --meter-lux ev_check (picture_lux,
                          meter_lux, difference_percent, tolerance_percent,
                          flagged)

An ISO speed or aperture that changes within the series (auto-ISO left on)
is warned about on standard error.
)";

constexpr const char* profile = R"(usage: candelux-cli profile circle PICTURE [--json] [--save PROFILE]
       candelux-cli profile show PROFILE [--json]
       candelux-cli profile vignetting PROFILE PICTURE-OR-SERIES... [--keep-picture] [--json]
       candelux-cli profile response PROFILE PICTURE PICTURE... [--json]
       candelux-cli profile apply PROFILE PICTURE... --out-dir DIR [--overwrite]

Camera profiles (NAME.cdxprofile, JSON) hold the corrections of one camera
and lens: response curve, vignetting, projection and image circle, neutral-
density and calibration factors. PROFILE is a name in
$XDG_CONFIG_HOME/candelux/profiles/ (else ~/.config/candelux/profiles/) or
the path of a .cdxprofile file anywhere.

  circle      prints the image circle of an assembled fisheye picture, the
              edge of its lit disc: centre_x centre_y radius in picture
              pixels, the centre of the top-left pixel being 0.5 0.5;
              --json prints the keys centre_x, centre_y, radius; --save
              stores it in PROFILE (created when missing)
  show        prints the profile; --json as one object
  vignetting  fits the radial fall-off 1 + a1 r^2 + a2 r^4 + a3 r^6 (r the
              distance from the image-circle centre over its radius) to a
              picture of a uniform scene (an integrating sphere, an evenly
              lit white wall filling the view): one assembled picture, or a
              series to assemble; prints the measured and fitted rings and
              stores the coefficients in PROFILE (created when missing, with
              the series' camera and lens). Without an image circle in the
              profile it is looked for, and stored when found; else the
              picture's half diagonal is the radius. --keep-picture also
              keeps the uniform picture beside the profile as
              <profile>-vignetting.hdr and names it as the profile's
              vignetting picture, which assembly then divides by (scaled
              to 1 at the circle's centre) in place of the polynomial: for
              a fall-off that is not round
  response    recovers the response curve from an exposure series (any
              scene with a range of brightness), as assemble does, and
              stores it in PROFILE (created when missing, with the series'
              camera and lens); assemble --profile then uses it instead of
              recovering one from each series
  apply       applies PROFILE to pictures assembled without one (by
              another program, or before the profile was made), as assemble
              --profile does after merging: vignetting, crop to the image
              circle, ND and calibration factors, VIEW= and PROFILE= lines;
              writes DIR/<name> for each (--overwrite to replace) and refuses
              a picture whose header already names a profile
)";

constexpr const char* capture = R"(usage: candelux-cli capture FOLDER [options]

Takes one exposure series with the tethered camera into FOLDER, as a manual
run of Capture > Setup... does, and prints the pictures written. For cron
jobs on a camera computer.

options:
  --shutter S1,S2,...     shutter speeds as the capture dialog shows them
                          (1/1000, 1/125, 0"5, 2"); without it, the
                          exposures listed in autocap.asf beside settings.asf
  --aperture N            the f-number for --shutter (8, 5.6); without it,
                          the camera's current aperture
  --assemble              assemble the series into FOLDER/<first picture>.hdr
                          and print what assemble prints
  --profile PROFILE       with --assemble: apply this camera profile, as
                          assemble --profile does (a series from another
                          camera or lens is not assembled)
  --json                  with --assemble: assemble's JSON object only
)";

constexpr const char* batch = R"(usage: candelux-cli batch SEQUENCE FOLDER [options]

Replays a recorded sequence file on every picture (*.hdr) of FOLDER, as
Tools > Batch Process... does: step k of picture NAME writes k-NAME beside
it. Prints a progress line on standard error and the summary at the end;
exits 1 when a step failed or a picture was left out. A second batch on the
same folder is refused while one runs.

options:
  --jobs N              replay up to N pictures at once (default: one per processor)
  --overwrite           replace step files that exist already (else the batch is refused)
                        and remove higher-numbered ones of an earlier, longer replay
  --emit-jobs           print one command per picture instead of running them
                        (quoted for sh and bash; exit 1 when a picture is left out)
  --picture NAME        replay only the picture NAME of FOLDER
  --cache-folder DIR    the cache folder the sequence was recorded with
                        (default: the one candelux uses)
  --regions FILE        measure every region of a region file on each result and
                        write NAME_regions.csv beside picture NAME.hdr (replaced
                        only with --overwrite)
  --percentile U,L, --criterion KIND,T, --weighted
                        with --regions: these figures in the tables too, as
                        stats --regions gives them

Batch replay works on assembled pictures, so a camera profile is applied
before it: when each series is assembled (assemble --profile, capture
--assemble --profile, Capture > Setup's "Assemble each series" with a
profile), or afterwards to pictures assembled without one:
candelux-cli profile apply PROFILE PICTURE... --out-dir DIR, then the batch
on DIR.
)";

constexpr const char* series = R"(usage: candelux-cli series FOLDER --csv OUT.csv [options]
       candelux-cli series PICTURE... --csv OUT.csv [options]
       candelux-cli series FOLDER --csv OUT.csv --emit-jobs [--chunk K] [options]
       candelux-cli series --collect PART... --csv OUT.csv [--plot FILE --figure LIST]

Measures every picture (*.hdr, *.pic) of FOLDER, or the pictures given, and
writes one row per picture into OUT.csv in time order: time, time_source,
picture, vertical_illuminance_lx, dgp, dgi, ugr, vcp, cgi, lveil,
ceiling_pixels, then <name>_mean and <name>_weighted_mean per region. The
time is the header's CAPDATE= (time_source capdate; exif for a picture the
exposure assembly wrote, whose CAPDATE is the photographs' EXIF date; the
input's, not the stamp of a program such as pcomb that wrote the picture),
else the file's modification time (mtime). Rows are written as pictures
finish, so a stopped run keeps what it did; at the end the file is put in
time order. A progress line goes to standard error.

options:
  --glare "OPTIONS"     run evalglare on each picture with these options
                        (e.g. "-vta -vv 180 -vh 180"); without it the glare
                        columns stay empty
  --regions FILE        a region file: each region's mean and weighted mean
  --jobs N              measure up to N pictures at once (default 1)
  --resume              continue OUT.csv: pictures it holds are not measured again
  --overwrite           replace OUT.csv (else an existing file is refused)
  --plot FILE           draw the figures over time as FILE (.svg or .png)
  --figure LIST         the figures to plot, e.g. dgp,ev,window_mean (default
                        dgp,ev): dgp dgi ugr vcp cgi lveil ev ceiling
                        <region>_mean <region>_weighted_mean
  --emit-jobs           print one self-contained command per chunk of pictures
                        instead of measuring (for GNU parallel or a Slurm
                        array); job n writes OUT.csv.part-n
  --chunk K             pictures per emitted job (default 1)
  --picture NAME        measure only the picture NAME of FOLDER (repeatable)
  --collect             merge the parts written by the jobs into OUT.csv, the
                        same bytes one run over all pictures writes
)";

}  // namespace

std::string cli_help(const std::string& command) {
    if (command.empty()) return overview;
    if (command == "luminance") return luminance;
    if (command == "stats") return stats;
    if (command == "illuminance") return illuminance;
    if (command == "falsecolor") return falsecolor;
    if (command == "batch") return batch;
    if (command == "assemble") return assemble;
    if (command == "capture") return capture;
    if (command == "profile") return profile;
    if (command == "series") return series;
    return {};
}
