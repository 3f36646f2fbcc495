// A dialog seam for tests: records every message and answers as told.
#pragma once

#include "messages.h"

#include <QList>

#include <functional>

class ScriptedSeam : public kestro::DialogSeam
{
public:
    QList<kestro::MessageRequest> shown;
    // Answers a message; by default the first button's modal result.
    std::function<int(const kestro::MessageRequest &)> answer;
    std::function<int(QDialog &)> dialog;

    ScriptedSeam() { kestro::setDialogSeam(this); }
    ~ScriptedSeam() override { kestro::setDialogSeam(nullptr); }

    int showMessage(const kestro::MessageRequest &r) override
    {
        shown << r;
        if (answer)
            return answer(r);
        return r.buttons.isEmpty() ? kestro::mrOk : kestro::modalResultOf(r.buttons.first());
    }
    int execDialog(QDialog &d) override { return dialog ? dialog(d) : kestro::DialogSeam::execDialog(d); }

    int count(const QString &text) const
    {
        int n = 0;
        for (const auto &r : shown)
            n += r.text == text;
        return n;
    }
    int plainCount() const
    {
        int n = 0;
        for (const auto &r : shown)
            n += r.plain;
        return n;
    }
};
