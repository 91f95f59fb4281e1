#include "app/dialogs/AudioOutputDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"
#include "audio/AudioOutputOptions.h"

namespace jorvo {

namespace {

std::uint32_t FieldValue(const QLineEdit& field)
{
    return field.text().toUInt();
}

// A number edit with its range text beside it.
QWidget* FieldWithRange(QLineEdit* field, std::uint32_t low, std::uint32_t high, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), field));
    field->setMaximumWidth(90);
    layout->addWidget(field);
    layout->addWidget(new QLabel(ToQString(RangeLabel(low, high)), row));
    layout->addStretch();
    return row;
}

} // namespace

AudioOutputDialog::AudioOutputDialog(const AudioOutputOptionsRequest& request, QWidget* parent)
    : QDialog(parent), request_(request), devices_(new QComboBox(this)), buffers_(new QLineEdit(this)),
      samples_(new QLineEdit(this)), latency_(new QLabel(this)), goodBuffers_(request.current.blockCount),
      goodSamples_(request.current.blockSize)
{
    devices_->setObjectName(QStringLiteral("devices"));
    buffers_->setObjectName(QStringLiteral("buffers"));
    samples_->setObjectName(QStringLiteral("samples"));
    latency_->setObjectName(QStringLiteral("latency"));
    for (const auto& device : request.devices)
        devices_->addItem(ToQString(device.name), QVariant::fromValue(device.index));

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Device:"), devices_);
    form->addRow(QStringLiteral("Number of Buffers:"), FieldWithRange(buffers_, kMinBlockCount, kMaxBlockCount, this));
    form->addRow(QStringLiteral("Samples per Buffer:"), FieldWithRange(samples_, kMinBlockSize, kMaxBlockSize, this));
    form->addRow(QStringLiteral("Latency:"), latency_);
    layout->addLayout(form);
    layout->addStretch();
    auto* box = AddOkCancel(*this, false);
    connect(box, &QDialogButtonBox::accepted, this, &AudioOutputDialog::TryAccept);

    Show(request.current);
    connect(buffers_, &QLineEdit::textChanged, this, &AudioOutputDialog::UpdateLatency);
    connect(samples_, &QLineEdit::textChanged, this, &AudioOutputDialog::UpdateLatency);
    connect(buffers_, &QLineEdit::editingFinished, this, &AudioOutputDialog::BuffersLeft);
    connect(samples_, &QLineEdit::editingFinished, this, &AudioOutputDialog::SamplesLeft);
    PrepareDialog(*this, "Audio Output Options", 400);
}

AudioOutputChoice AudioOutputDialog::Entered() const
{
    AudioOutputChoice choice;
    choice.blockCount = FieldValue(*buffers_);
    choice.blockSize = FieldValue(*samples_);
    const QVariant device = devices_->currentData();
    choice.device = device.isValid() ? device.toUInt() : request_.current.device;
    return choice;
}

void AudioOutputDialog::Show(const AudioOutputChoice& choice)
{
    buffers_->setText(QString::number(choice.blockCount));
    samples_->setText(QString::number(choice.blockSize));
    const int row = devices_->findData(QVariant::fromValue(choice.device));
    if (row >= 0)
        devices_->setCurrentIndex(row);
    UpdateLatency();
}

void AudioOutputDialog::BuffersLeft()
{
    if (checking_)
        return;
    checking_ = true;
    std::uint32_t buffers = FieldValue(*buffers_);
    if (CheckBuffersField(buffers, goodBuffers_))
        goodBuffers_ = buffers;
    buffers_->setText(QString::number(goodBuffers_));
    checking_ = false;
}

void AudioOutputDialog::SamplesLeft()
{
    if (checking_)
        return;
    checking_ = true;
    std::uint32_t samples = FieldValue(*samples_);
    if (CheckSamplesField(samples, goodSamples_))
        goodSamples_ = samples;
    samples_->setText(QString::number(goodSamples_));
    checking_ = false;
}

void AudioOutputDialog::UpdateLatency()
{
    if (request_.latencyText)
        latency_->setText(ToQString(request_.latencyText(Entered())));
}

void AudioOutputDialog::TryAccept()
{
    AudioOutputChoice choice = Entered();
    if (request_.acceptOk && !request_.acceptOk(choice)) {
        Show(choice);
        goodBuffers_ = choice.blockCount;
        goodSamples_ = choice.blockSize;
        return;
    }
    accept();
}

} // namespace jorvo
