#include "windows/ChatWindowClose.h"

#include <gtest/gtest.h>

namespace {

using State = ChatWindowClose::State;
using Step = ChatWindowClose::Step;

TEST(ChatWindowClose, AsksOnlyOnceArmedAndNoKeepsTheWindowOpen) {
    ChatWindowClose plain;
    EXPECT_EQ(plain.CloseRequested(), Step::CloseNow);
    EXPECT_EQ(plain.Current(), State::Closed);

    ChatWindowClose armed;
    armed.FConfirmarSair = true;
    EXPECT_EQ(armed.CloseRequested(), Step::AskFirst);
    EXPECT_EQ(armed.Current(), State::Asking);
    EXPECT_FALSE(armed.ExitAnswered(false));
    EXPECT_EQ(armed.Current(), State::Open);
    EXPECT_TRUE(armed.FConfirmarSair) << "a refused close leaves the question armed";
    EXPECT_EQ(armed.CloseRequested(), Step::AskFirst);
    EXPECT_TRUE(armed.ExitAnswered(true));
    EXPECT_EQ(armed.Current(), State::Closed);
}

TEST(ChatWindowClose, APageCloseWinsOverTheQuestionEvenOnScreen) {
    ChatWindowClose asking;
    asking.FConfirmarSair = true;
    ASSERT_EQ(asking.CloseRequested(), Step::AskFirst);
    asking.CloseWithoutAsking();  // the page closes while the user is asked
    EXPECT_FALSE(asking.FConfirmarSair);
    EXPECT_TRUE(asking.ExitAnswered(false)) << "the user's No does not keep a window the page closed";
    EXPECT_EQ(asking.Current(), State::Closed);

    ChatWindowClose before;
    before.FConfirmarSair = true;
    before.CloseWithoutAsking();
    EXPECT_EQ(before.CloseRequested(), Step::CloseNow);
}

TEST(ChatWindowClose, ALoadErrorAsksOnlyWhenItClosesAndNeverOverAnotherQuestion) {
    ChatWindowClose close;
    EXPECT_FALSE(close.LoadErrorArrived()) << "chat mode ignores load errors";
    close.FFecharNoNavigateError = true;
    EXPECT_TRUE(close.LoadErrorArrived());
    EXPECT_EQ(close.Current(), State::Asking);
    EXPECT_FALSE(close.LoadErrorArrived()) << "a second frame of the same failing page";
    close.LoadErrorAnswered();
    EXPECT_EQ(close.Current(), State::Open);

    // Answered No: the close that follows still asks once armed.
    close.FConfirmarSair = true;
    EXPECT_TRUE(close.LoadErrorArrived());
    close.LoadErrorAnswered();
    EXPECT_EQ(close.CloseRequested(), Step::AskFirst);
    EXPECT_FALSE(close.LoadErrorArrived()) << "not over the exit question";
    EXPECT_FALSE(close.ExitAnswered(false));
    EXPECT_TRUE(close.LoadErrorArrived()) << "asks again later";
}

}  // namespace
