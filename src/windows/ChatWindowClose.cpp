#include "windows/ChatWindowClose.h"

ChatWindowClose::Step ChatWindowClose::CloseRequested() {
    if (FConfirmarSair && !forced_) {
        state_ = State::Asking;
        return Step::AskFirst;
    }
    state_ = State::Closed;
    return Step::CloseNow;
}

bool ChatWindowClose::ExitAnswered(bool yes) {
    const bool closes = yes || forced_;
    state_ = closes ? State::Closed : State::Open;
    return closes;
}

void ChatWindowClose::CloseWithoutAsking() {
    FConfirmarSair = false;
    forced_ = true;
}

bool ChatWindowClose::LoadErrorArrived() {
    if (!FFecharNoNavigateError || state_ != State::Open) return false;
    state_ = State::Asking;
    return true;
}

void ChatWindowClose::LoadErrorAnswered() {
    if (state_ == State::Asking) state_ = State::Open;
}
