#include "core/servers/ServerPick.h"

#include <algorithm>

namespace {

constexpr int kTypeModelA = 1;
constexpr int kTypeModelC = 3;
constexpr int kTypeModelE = 5;

PickPlan Plan(PickPlan::Step step, int messageId = 0)
{
    PickPlan plan;
    plan.step = step;
    plan.messageId = messageId;
    return plan;
}

} // namespace

bool IsLiteralAddress(const std::string& ip)
{
    return std::count(ip.begin(), ip.end(), '.') >= 3;
}

int ModelMixRefusal(int firstSlotDvrType, const std::string& dvrType, const ModelNameTable& models)
{
    const std::string& modelA = models[kTypeModelA - 1];
    const std::string& modelE = models[kTypeModelE - 1];
    if (firstSlotDvrType == kTypeModelC && (dvrType == modelA || dvrType == modelE))
        return kMsgModelMixSixteen;
    if ((firstSlotDvrType == kTypeModelA || firstSlotDvrType == kTypeModelE) && dvrType != modelA)
        return kMsgModelMixPaired;
    return 0;
}

PickPlan PlanServerPick(const PickState& state)
{
    if (state.listEmpty)
        return Plan(PickPlan::Step::Nothing);
    if (state.liveRunning)
        return Plan(PickPlan::Step::Message, kMsgLiveRunning);
    if (!state.selectedName)
        return Plan(PickPlan::Step::Nothing);

    const std::string& name = *state.selectedName;
    const auto& open = state.openServerNames;
    const bool alreadyOpen = std::find(open.begin(), open.end(), name) != open.end();
    PickPlan plan = Plan(PickPlan::Step::Nothing);
    plan.setCurrentName = true;
    if (alreadyOpen || state.liveChannelsInUse >= kMaxLiveChannels) {
        plan.step = PickPlan::Step::CloseDialog;
        return plan;
    }
    if (!state.record)
        return plan;

    const ServerRecord& record = *state.record;
    plan.handCredentials = true;
    if (!open.empty()) {
        if (int refusal = ModelMixRefusal(state.firstSlotDvrType, record.dvrType, state.models)) {
            plan.step = PickPlan::Step::Message;
            plan.messageId = refusal;
            return plan;
        }
    }
    if (IsLiteralAddress(record.ip)) {
        plan.step = PickPlan::Step::Connect;
        plan.address = record.ip;
    } else {
        plan.step = PickPlan::Step::ResolveDdns;
        plan.ddnsName = record.ip;
    }
    return plan;
}
