// tessaphon-snapshot: paints the editor panel without a display and writes it
// as a PNG file.
//
//   tessaphon-snapshot --program 0 -o panel.png
//   tessaphon-snapshot --program 123 --set "LFO1 Depth=40" -o lfo.png

#include "tessaphon_version.h"
#include "tools/snapshot/panel_snapshot.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    CLI::App app{"Paints the Tessaphon editor panel into a PNG file, no display needed."};
    int program = 0;
    std::vector<std::string> sets;
    std::string output;
    app.add_option("--program", program, "program slot, 0 to 149 (default 0)");
    app.add_option("--set", sets, "PARAM=VALUE: a parameter (index or name) and a value it reads");
    app.add_option("-o,--output", output, "PNG file to write")->required();
    app.set_version_flag("--version", std::string("tessaphon-snapshot ") + tessaphon::kVersionText);
    CLI11_PARSE(app, argc, argv);

    std::vector<snapshot::Setting> settings;
    for (const std::string& text : sets) {
        snapshot::Setting s;
        if (!snapshot::ParseSetting(text, s)) {
            std::cerr << "tessaphon-snapshot: --set needs PARAM=VALUE, got \"" << text << "\"\n";
            return 2;
        }
        settings.push_back(s);
    }
    snapshot::Picture picture;
    std::string error;
    if (!snapshot::PaintPanel(program, settings, picture, error) ||
        !snapshot::WritePng(output, picture, error)) {
        std::cerr << "tessaphon-snapshot: " << error << "\n";
        return 1;
    }
    return 0;
}
