#ifndef HIGHSCORESBUTTON_H
#define HIGHSCORESBUTTON_H

#include "QVControl.h"

// Opens the high-score screen; hidden during the tutorial.
class HighScoresButton : public QVControl {
public:
                        HighScoresButton();
                        ~HighScoresButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
};

#endif // HIGHSCORESBUTTON_H
