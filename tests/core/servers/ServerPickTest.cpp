#include "core/servers/ServerPick.h"

#include <gtest/gtest.h>

namespace {

using Step = PickPlan::Step;

PickState Picking(const std::string& ip, const std::string& dvrType = "MODEL_C")
{
    PickState state;
    state.listEmpty = false;
    state.selectedName = "site";
    state.record = ServerRecord{"site", ip, 7050, "ADMIN", "pw", dvrType, "TCP", ""};
    return state;
}

} // namespace

TEST(ServerPick, SixteenLiveChannelsCloseBeforeTheRecordIsNeeded)
{
    PickState full = Picking("1.2.3.4");
    full.liveChannelsInUse = 16;
    full.record.reset();
    EXPECT_EQ(PlanServerPick(full).step, Step::CloseDialog);
    full.liveChannelsInUse = 15;
    full.record = Picking("1.2.3.4").record;
    EXPECT_EQ(PlanServerPick(full).step, Step::Connect);
}

TEST(ServerPick, ModelMixFollowsTheFirstOpenServersTypeAndTheTableNames)
{
    const struct {
        int firstType;
        const char* model;
        int refusal;
    } cases[] = {
        {3, "MODEL_A", kMsgModelMixSixteen}, {3, "MODEL_E", kMsgModelMixSixteen}, {3, "MODEL_C", 0},
        {1, "MODEL_A", 0}, {1, "MODEL_B", kMsgModelMixPaired}, {1, "model_a", kMsgModelMixPaired},
        {5, "MODEL_A", 0}, {5, "MODEL_E", kMsgModelMixPaired}, {0, "MODEL_E", 0}, {6, "MODEL_E", 0},
    };
    for (const auto& c : cases) {
        PickState state = Picking("1.2.3.4", c.model);
        state.openServerNames = {"other"};
        state.firstSlotDvrType = c.firstType;
        PickPlan plan = PlanServerPick(state);
        SCOPED_TRACE(std::to_string(c.firstType) + " + " + c.model);
        EXPECT_TRUE(plan.handCredentials) << "credentials go over before the rule is applied";
        EXPECT_EQ(plan.step, c.refusal ? Step::Message : Step::Connect);
        EXPECT_EQ(plan.messageId, c.refusal);
    }

    PickState alone = Picking("1.2.3.4", "MODEL_A");
    alone.firstSlotDvrType = 3;
    EXPECT_EQ(PlanServerPick(alone).step, Step::Connect) << "nothing open: the rule does not apply";

    PickState renamed = Picking("1.2.3.4", "MODEL_A");
    renamed.openServerNames = {"other"};
    renamed.firstSlotDvrType = 1;
    renamed.models[0] = "Quad";
    EXPECT_EQ(PlanServerPick(renamed).messageId, kMsgModelMixPaired);
}

TEST(ServerPick, ThreeDotsMakeALiteralAddressAnythingElseIsResolved)
{
    for (const char* literal : {"1.2.3.4", "a.b.c.d", "10.0.0.1.5"})
        EXPECT_EQ(PlanServerPick(Picking(literal)).address, literal);
    for (const char* name : {"10.0.0", "cam1", ""}) {
        PickPlan plan = PlanServerPick(Picking(name));
        EXPECT_EQ(plan.step, Step::ResolveDdns) << name;
        EXPECT_EQ(plan.ddnsName, name);
    }
}
