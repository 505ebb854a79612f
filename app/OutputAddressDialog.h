#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;

// Edits where the two network outputs send. It closes only on addresses that
// can be used: a host that does not resolve or a port outside 1 to 65535 is
// refused with the reason shown in the dialog, which stays open.
class OutputAddressDialog : public QDialog {
    Q_OBJECT

public:
    struct Address {
        QString host;
        int port = 0;
    };

    OutputAddressDialog(const Address& opentrack, const Address& flightGear, QWidget* parent);

    Address opentrack() const;
    Address flightGear() const;

public slots:
    void accept() override;

private:
    struct AddressFields {
        QLineEdit* host;
        QLineEdit* port;
    };

    AddressFields addFields(const QString& outputName, const char* objectPrefix,
                            const Address& address);
    bool usable(const QString& outputName, const AddressFields& fields);

    QFormLayout* form;
    AddressFields opentrackFields;
    AddressFields flightGearFields;
    QLabel* refusal;
    QDialogButtonBox* buttons;
};
