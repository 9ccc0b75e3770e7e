// Behavioural simulation model of the packet_mac IP. Ports follow the component file;
// the generated wrapper instantiates this module. The controller itself is installed
// separately; the model stands in for it with its line looped back: every frame written
// to the transmit stream comes out of the receive stream as it went in, followed by its
// four-byte Ethernet frame check sequence (CRC-32, least significant byte first). There
// is no preamble, padding or inter-frame gap.
//
// Both streams move a byte on a clock in which valid and ready are high; last marks a
// frame's final byte. The transmit stream waits while the receive stream is not taken
// and while the check sequence goes out.
module packet_mac_core (
    input  wire       clk,
    // synchronous, active high: drops any frame in flight
    input  wire       rst,
    input  wire [7:0] tx_data,
    input  wire       tx_valid,
    input  wire       tx_last,
    output wire       tx_ready,
    output wire [7:0] rx_data,
    output wire       rx_valid,
    output wire       rx_last,
    input  wire       rx_ready
);
    // The reflected form of 04C11DB7: Ethernet sends each byte least significant bit
    // first.
    localparam [31:0] POLY = 32'hEDB88320;

    reg [31:0] crc = 32'hFFFFFFFF;
    // While high, fcs_index counts the check sequence's bytes.
    reg        in_fcs = 1'b0;
    reg [1:0]  fcs_index = 2'd0;

    function automatic [31:0] next_crc(input [31:0] state, input [7:0] data);
        integer i;
        begin
            next_crc = state;
            for (i = 0; i < 8; i = i + 1)
                next_crc = (next_crc >> 1) ^ ((next_crc[0] ^ data[i]) ? POLY : 32'd0);
        end
    endfunction

    wire [31:0] fcs = ~crc;

    assign tx_ready = !in_fcs && rx_ready;
    assign rx_valid = in_fcs || tx_valid;
    assign rx_data  = in_fcs ? fcs[8*fcs_index+:8] : tx_data;
    assign rx_last  = in_fcs && fcs_index == 2'd3;

    always @(posedge clk) begin
        if (rst) begin
            crc       <= 32'hFFFFFFFF;
            in_fcs    <= 1'b0;
            fcs_index <= 2'd0;
        end else if (in_fcs) begin
            if (rx_ready) begin
                fcs_index <= fcs_index + 2'd1;
                if (rx_last) begin
                    in_fcs <= 1'b0;
                    crc    <= 32'hFFFFFFFF;
                end
            end
        end else if (tx_valid && rx_ready) begin
            crc    <= next_crc(crc, tx_data);
            in_fcs <= tx_last;
        end
    end
endmodule
