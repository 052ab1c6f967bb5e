#pragma once

#include "XRError.h"

#include <QString>

class XRReserverClient;

// What a reservation client reads its request from and reports its outcome to.
// Both callbacks are optional: a delegate that implements one also answers true
// from its respondsTo... function, and the client calls only those.
class XRReserverClientDelegate
{
public:
    virtual ~XRReserverClientDelegate() = default;

    // The service's answer, read or not; an absent text is a null QString.
    virtual void reserverClientDidFinishWithCodeMessageMarket(XRReserverClient * /*client*/, int /*code*/,
                                                              const QString & /*message*/,
                                                              const QString & /*market*/)
    {
    }
    // The exchange itself failed: no network, a certificate that does not verify, a time-out.
    virtual void reserverClientDidFailWithError(XRReserverClient * /*client*/, const XRError & /*error*/) {}
    virtual bool respondsToDidFinish() const { return false; }
    virtual bool respondsToDidFail() const { return false; }

    // The values of the request, read once when the client is made.
    virtual QString langString() const = 0;
    virtual QString currency() const = 0;
    virtual QString ammount() const = 0;
    // Empty when the customer gave none.
    virtual QString personalID() const = 0;
    virtual QString firstName() const = 0;
    virtual QString lastName() const = 0;
    virtual QString phone() const = 0;
    virtual QString date() const = 0;
    virtual QString branchID() const = 0;
    // 0 credit card, 1 cash in the home currency, 2 cash in another currency.
    virtual int paymentMethod() const = 0;
};
