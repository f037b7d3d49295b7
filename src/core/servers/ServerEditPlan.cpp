#include "core/servers/ServerEditPlan.h"

namespace {

ServerEditPlan Stop(LangText message, FormField focus = FormField::None)
{
    ServerEditPlan plan;
    plan.message = std::move(message);
    plan.focus = focus;
    return plan;
}

} // namespace

ServerEditPlan PlanServerEdit(ServerEdit edit, const ServerForm& form, bool recordExists)
{
    constexpr int kNameTaken = 6002;
    constexpr int kNoSuchServer = 6004;
    if (edit == ServerEdit::Add && recordExists)
        return Stop(LangText::Id(kNameTaken));

    auto checked = CheckServerForm(form);
    if (auto* problem = std::get_if<FormProblem>(&checked))
        return Stop(problem->message, problem->focus);
    if (edit != ServerEdit::Add && !recordExists)
        return Stop(LangText::Id(kNoSuchServer));

    ServerEditPlan plan;
    plan.record = std::get<ServerRecord>(std::move(checked));
    switch (edit) {
    case ServerEdit::Add:
        plan.action = ServerEditPlan::Action::Write;
        plan.message = LangText::Id(6003);
        plan.failure = LangText::Id(kStrServerNotSaved);
        break;
    case ServerEdit::Modify:
        plan.action = ServerEditPlan::Action::Write;
        plan.message = LangText::Id(6005);
        plan.failure = LangText::Id(kStrServerNotSaved);
        break;
    case ServerEdit::Delete:
        plan.action = ServerEditPlan::Action::Remove;
        plan.message = LangText::Id(6006);
        plan.failure = LangText::Id(kStrServerNotDeleted);
        break;
    }
    return plan;
}
