// ListingRequest: the listing request lumetra-listados prints. It starts from the window's own
// request for the listing (its page as the window set it up: working date, current store, the
// user's rights, the shop's VAT basis) and puts in each option given on the command line; an
// option left out keeps the window's value. The stores are taken by position of the window's
// store list, so two stores with the same description never select each other.
//
// An option the user may not use is refused with OptionError, as the window would not let him
// change it: a check box his rights hide, the dates when his dates are blocked, a store other
// than his own when he is limited to it, the group report when the shop does not use sales
// groups. The order detail is hidden for everybody and is always set.
#pragma once

#include "ListadosOptions.h"

#include "window/SolicitudListado.h"

namespace lumetra {

struct HostParams;

class ListingRequest {
public:
    // The window's code of a listing (30..33).
    static int listingCode(ListadosOptions::Listado listado);

    // `defaults`: the window's request for options.listado; `stores`: the window's store list;
    // `host`: the block the window was opened with (user rights, shop, current store, operator
    // codes). Throws OptionError, or std::runtime_error for an operator the window does not offer.
    static SolicitudListado build(const ListadosOptions& options, SolicitudListado defaults, const TiendasListado& stores,
                                  const HostParams& host);
};

} // namespace lumetra
