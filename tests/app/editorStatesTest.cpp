#include <gtest/gtest.h>

#include "app/znEditorStates.h"

namespace {

using Cmd = TznEditorCommand;

// One walk through the browse/edit table: "edit", "create" and "duplicate"
// work only while browsing, "accept" and "cancel" only while editing; a
// command of the other state changes nothing. Each state enables its row.
TEST(EditorStates, CommandsWorkOnlyInTheirStateAndEnableThatStatesRow) {
  const struct {
    Cmd Command;
    bool Allowed;
    bool EditingAfter;
  } steps[] = {
      {Cmd::Accept, false, false},   {Cmd::Cancel, false, false},   {Cmd::Create, true, false},
      {Cmd::Duplicate, true, false}, {Cmd::Edit, true, true},       {Cmd::Edit, false, true},
      {Cmd::Create, false, true},    {Cmd::Duplicate, false, true}, {Cmd::Cancel, true, false},
      {Cmd::Edit, true, true},       {Cmd::Accept, true, false},
  };
  TznEditorStates states;
  EXPECT_FALSE(states.Editing());
  for (const auto& step : steps) {
    EXPECT_EQ(states.Allows(step.Command), step.Allowed);
    states.Done(step.Command);
    ASSERT_EQ(states.Editing(), step.EditingAfter);
    const TznEditorEnabling row = states.Enabling();
    EXPECT_EQ(row.List, !step.EditingAfter);
    EXPECT_EQ(row.Group, step.EditingAfter);
    EXPECT_EQ(row.BrowseButtons, !step.EditingAfter);
    EXPECT_EQ(row.EditButtons, step.EditingAfter);
  }
}

}  // namespace
