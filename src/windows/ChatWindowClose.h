#pragma once
// The chat window's close as one state. The window tells it each event and
// carries out what it answers: the window shows the questions and runs the
// close sequence, this decides.

class ChatWindowClose {
public:
    enum class State {
        Open,    // nothing is being asked
        Asking,  // the exit question or the load error's question is on screen
        Closed,  // the close sequence has run
    };
    enum class Step {
        AskFirst,  // show the exit question, then tell ExitAnswered
        CloseNow,  // run the close sequence
    };

    // True: a close asks the user first. Set by "OnOpenCall"; cleared by a
    // close without asking.
    bool FConfirmarSair = false;
    // True: a load error asks the user and closes the window (loading mode
    // and after a refresh).
    bool FFecharNoNavigateError = false;

    State Current() const { return state_; }

    // A close request while Open.
    Step CloseRequested();
    // The exit question's answer: whether the window closes. A close
    // without asking that came meanwhile wins over a "No".
    bool ExitAnswered(bool yes);
    // The page or the program closes the window without asking; also while
    // a question is on screen, whose answer then closes it.
    void CloseWithoutAsking();
    // A load error: whether its question is to be asked now. While another
    // question is on screen (the frames of one failing page) it is not.
    bool LoadErrorArrived();
    // The load error's question has been answered; the window then opens
    // the browser or asks to close.
    void LoadErrorAnswered();

private:
    State state_ = State::Open;
    bool forced_ = false;
};
