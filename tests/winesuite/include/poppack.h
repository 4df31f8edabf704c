/* Structure packing, which compat.h's structures set where they need it. */
