// Grouping the grid's rows into runs: rows that agree on every setting that
// needs a run of its own share one run, as its passes.
#include "frontend/SweepPlan.h"

#include <map>

#include "frontend/DescriptionEdit.h"
#include "frontend/NearestNames.h"
#include "frontend/SetNames.h"

namespace {

bool AllPositive(const std::vector<SweepValue>& values)
{
    for (const SweepValue& value : values)
        if (!(value.number > 0.0)) return false;
    return true;
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined.empty() ? "none" : joined;
}

bool PlanSetting(const SweepSetting& setting, const std::vector<DescriptionToken>& tokens,
                 const DescriptionLayout& layout, const std::vector<DefinitionEntry>& definitions,
                 const std::string& file, PlannedSetting& planned, std::string& error)
{
    planned.setting = setting;
    if (setting.target == SweepTarget::TransitionDelay) {
        planned.inPasses = true;
        planned.targets = {{setting.subModel, setting.transition}};
        return true;
    }
    const std::optional<DefinitionEntry> definition = FindSetName(definitions, setting.name);
    if (!definition) {
        const std::string bare =
            setting.name.substr(!setting.name.empty() && setting.name.front() == '\\' ? 1 : 0);
        const std::vector<std::string> near = NearestNames(bare, SettableNames(definitions));
        error = "--set " + setting.name + ": " + file + " has no definition of that name" +
                (near.empty() ? "" : "; did you mean " + QuotedChoice(near) + "?") + " (its " +
                "Definition section defines: " + JoinNames(SettableNames(definitions)) + ")";
        return false;
    }
    planned.definition = *definition;
    if (const auto targets = RateOnlyUses(tokens, layout, *definition);
        targets && AllPositive(setting.values)) {
        planned.inPasses = true;
        planned.targets = *targets;
    }
    return true;
}

bool CheckDistinctTargets(const std::vector<PlannedSetting>& settings, std::string& error)
{
    std::map<std::string, std::string> owner;
    for (const PlannedSetting& planned : settings)
        for (const DelayTarget& target : planned.targets) {
            const std::string key = target.subModel + "/" + target.transition;
            const auto [it, added] = owner.emplace(key, planned.setting.Label());
            if (!added) {
                error = "--set " + it->second + " and --set " + planned.setting.Label() +
                        " both set the mean delay of " + key;
                return false;
            }
        }
    return true;
}

}  // namespace

bool PlanSweep(const std::string& description, const std::string& file,
               const std::vector<SweepSetting>& settings, SweepPlan& plan, std::string& error)
{
    plan = SweepPlan{};
    if (!CountSweepRows(settings, plan.rows, error)) return false;
    const std::vector<DescriptionToken> tokens = TokenizeDescription(description);
    const DescriptionLayout layout = LayOutDescription(tokens);
    const std::vector<DefinitionEntry> definitions = ReadDefinitions(tokens);
    for (const SweepSetting& setting : settings) {
        PlannedSetting planned;
        if (!PlanSetting(setting, tokens, layout, definitions, file, planned, error)) return false;
        // "x" and "\x" name one definition, which can take one value at a time.
        for (const PlannedSetting& earlier : plan.settings)
            if (setting.target == SweepTarget::Definition &&
                earlier.setting.target == SweepTarget::Definition &&
                earlier.definition.nameToken == planned.definition.nameToken) {
                error = "--set " + earlier.setting.Label() + " and --set " + setting.Label() +
                        " name the same definition";
                return false;
            }
        plan.settings.push_back(planned);
    }
    if (!CheckDistinctTargets(plan.settings, error)) return false;

    std::map<std::vector<std::size_t>, std::size_t> runOfKey;
    for (std::size_t row = 0; row < plan.rows; ++row) {
        const std::vector<std::size_t> position = GridPosition(settings, row);
        std::vector<std::size_t> key;
        std::vector<DelayEntry> delays;
        std::vector<DefinitionValue> edits;
        for (std::size_t i = 0; i < plan.settings.size(); ++i) {
            const PlannedSetting& planned = plan.settings[i];
            const double number = planned.setting.values[position[i]].number;
            if (planned.inPasses) {
                for (const DelayTarget& target : planned.targets)
                    delays.push_back({target.subModel, target.transition, number});
            } else {
                key.push_back(position[i]);
                edits.push_back({planned.definition, number});
            }
        }
        auto [it, added] = runOfKey.emplace(key, plan.runs.size());
        if (added) plan.runs.push_back({WithDefinitionValues(description, edits), {}, {}});
        PlannedRun& run = plan.runs[it->second];
        run.passes.push_back(delays);
        run.rows.push_back(row);
    }
    return true;
}
