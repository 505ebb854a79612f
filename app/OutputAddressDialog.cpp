#include "app/OutputAddressDialog.h"

#include "output/NetworkEndpoint.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

OutputAddressDialog::Address addressIn(const QLineEdit* host, const QLineEdit* port) {
    return {host->text().trimmed(), port->text().trimmed().toInt()};
}

} // namespace

OutputAddressDialog::OutputAddressDialog(const Address& opentrack, const Address& flightGear,
                                         QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Network addresses"));
    form = new QFormLayout(this);
    opentrackFields = addFields(tr("opentrack"), "Opentrack", opentrack);
    flightGearFields = addFields(tr("FlightGear"), "FlightGear", flightGear);

    refusal = new QLabel(this);
    refusal->setObjectName("labelRefusal");
    refusal->setWordWrap(true);
    form->addRow(refusal);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &OutputAddressDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OutputAddressDialog::reject);
    form->addRow(buttons);
}

OutputAddressDialog::AddressFields OutputAddressDialog::addFields(const QString& outputName,
                                                                  const char* objectPrefix,
                                                                  const Address& address) {
    const AddressFields fields{new QLineEdit(address.host, this),
                               new QLineEdit(QString::number(address.port), this)};
    fields.host->setObjectName(QString("lineEdit%1Host").arg(objectPrefix));
    fields.port->setObjectName(QString("lineEdit%1Port").arg(objectPrefix));
    form->addRow(tr("%1 host:").arg(outputName), fields.host);
    form->addRow(tr("%1 port:").arg(outputName), fields.port);
    return fields;
}

OutputAddressDialog::Address OutputAddressDialog::opentrack() const {
    return addressIn(opentrackFields.host, opentrackFields.port);
}

OutputAddressDialog::Address OutputAddressDialog::flightGear() const {
    return addressIn(flightGearFields.host, flightGearFields.port);
}

// A name lookup runs a local event loop for a while; the buttons are held off
// meanwhile so that a second press cannot start a second, nested check.
void OutputAddressDialog::accept() {
    buttons->setEnabled(false);
    const bool bothUsable =
        usable(tr("opentrack"), opentrackFields) && usable(tr("FlightGear"), flightGearFields);
    buttons->setEnabled(true);
    if (bothUsable)
        QDialog::accept();
}

bool OutputAddressDialog::usable(const QString& outputName, const AddressFields& fields) {
    bool isNumber = false;
    const QString portText = fields.port->text().trimmed();
    portText.toInt(&isNumber);
    QString error;
    if (!isNumber)
        error = tr("the port \"%1\" is not a number").arg(portText);
    else if (NetworkEndpoint::resolve(fields.host->text(), portText.toInt(), error))
        return true;
    refusal->setText(tr("%1: %2").arg(outputName, error));
    return false;
}
