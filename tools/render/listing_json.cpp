#include "tools/render/listing_json.h"

#include "tools/render/json_writer.h"
#include "tools/render/plugin_session.h"
#include "tools/render/schedule_plan.h"

namespace render {

std::string ProgramListJson(PluginSession& session)
{
    const std::vector<std::string> names = session.ProgramNames();
    std::vector<std::string> programs;
    for (std::size_t slot = 0; slot < names.size(); ++slot)
        programs.push_back(JsonObject().Add("slot", static_cast<int>(slot)).Add("name", names[slot]).Text());
    return JsonObject().AddRaw("programs", JsonArray(programs)).Text();
}

std::string ParameterListJson(PluginSession& session)
{
    std::vector<std::string> params;
    for (const ParameterInfo& p : session.Parameters()) {
        const std::string display = session.Plugin().ParamDisplay(p.index);
        JsonObject item;
        item.Add("index", p.index).Add("name", p.name).Add("reference", p.reference);
        item.Add("value", ValueNumber(p, display)).Add("display", display).Add("unit", p.label);
        if (p.HasChoices()) {
            std::vector<std::string> choices;
            for (const std::string& choice : p.choices)
                choices.push_back(JsonString(choice));
            item.AddRaw("choices", JsonArray(choices));
        } else {
            item.Add("min", p.min).Add("max", p.max).Add("decimals", p.decimals);
        }
        params.push_back(item.Text());
    }
    return JsonObject().AddRaw("parameters", JsonArray(params)).Text();
}

} // namespace render
