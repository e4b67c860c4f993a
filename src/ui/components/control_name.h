#pragma once

#include <QLatin1String>
#include <QMetaObject>
#include <QObject>
#include <QString>

// A window's declaration tables name each control once: QUOMBLE_CONTROL(TForm2, Label1)
// gives the member pointer &TForm2::Label1 and its control name "Label1", which the table
// turns into the member's widget and that widget's objectName.
#define QUOMBLE_CONTROL(Owner, name) &Owner::name, #name

namespace quomble {

// Gives a new control its control name and keeps it in its member:
// nameControl(this, QUOMBLE_CONTROL(TForm1, Timer1), new QTimer(this)).
template <class Owner, class Controls, class Member, class Made>
Made* nameControl(Owner* owner, Member* Controls::*member, const char* name, Made* control)
{
    control->setObjectName(QLatin1String(name));
    owner->*member = control;
    return control;
}

// A window's objectName is its class's name without the namespace: nameWindow(this) in the
// constructor of TForm1 names it "TForm1".
inline void nameWindow(QObject* window)
{
    const QString name = QLatin1String(window->metaObject()->className());
    window->setObjectName(name.mid(name.lastIndexOf(QLatin1Char(':')) + 1));
}

}  // namespace quomble
