// Sends the frame "123456789" twice, back to back, through a packet_mac_core and checks
// that each comes back followed by its check sequence 26 39 F4 CB (the Ethernet CRC-32
// of the frame, CBF43926, low byte first), with last on the final byte only. The sender
// pauses every SEND_GAP-th clock and the receiver every READ_GAP-th (0: never).
// Prints one line starting with PASS or FAIL.
module tb_packet_mac;
    parameter integer SEND_GAP = 0;
    parameter integer READ_GAP = 0;

    localparam [71:0] FRAME = "123456789";
    localparam [31:0] FCS = 32'hCBF43926;
    localparam integer FRAMES = 2;
    localparam integer LENGTH = 9 + 4;

    reg clk = 0, rst = 1, tx_valid = 0, tx_last = 0, rx_ready = 0;
    reg [7:0] tx_data = 0;
    wire [7:0] rx_data;
    wire tx_ready, rx_valid, rx_last;
    integer sent = 0, received = 0, clocks = 0, errors = 0;
    reg [7:0] wanted;

    packet_mac_core dut (
        .clk(clk), .rst(rst), .tx_data(tx_data), .tx_valid(tx_valid), .tx_last(tx_last),
        .tx_ready(tx_ready), .rx_data(rx_data), .rx_valid(rx_valid), .rx_last(rx_last),
        .rx_ready(rx_ready));

    always #5 clk = ~clk;

    // Both sides change their signals after the falling edge and look at the
    // handshake on the rising one.
    always @(posedge clk) begin
        if (!rst) begin
            clocks <= clocks + 1;
            if (tx_valid && tx_ready) sent <= sent + 1;
            if (rx_valid && rx_ready) begin
                wanted = received % LENGTH < 9 ? FRAME[71 - 8 * (received % LENGTH) -: 8]
                                               : FCS[8 * (received % LENGTH - 9) +: 8];
                if (rx_data !== wanted || rx_last !== (received % LENGTH == LENGTH - 1)) begin
                    $display("byte %0d: %h last %b, expected %h", received, rx_data, rx_last,
                             wanted);
                    errors = errors + 1;
                end
                received <= received + 1;
            end
        end
    end

    always @(negedge clk) begin
        if (!rst) begin
            tx_valid = sent < 9 * FRAMES && !(SEND_GAP > 0 && clocks % SEND_GAP == 0);
            tx_data  = FRAME[71 - 8 * (sent % 9) -: 8];
            tx_last  = sent % 9 == 8;
            rx_ready = !(READ_GAP > 0 && clocks % READ_GAP == 0);
        end
    end

    initial begin
        @(negedge clk);
        @(negedge clk) rst = 0;
        wait (received == LENGTH * FRAMES || clocks == 200);
        @(negedge clk);
        if (received != LENGTH * FRAMES || rx_valid) errors = errors + 1;
        if (errors == 0)
            $display("PASS mac %0d frames, send gap %0d, read gap %0d", FRAMES, SEND_GAP,
                     READ_GAP);
        else
            $display("FAIL mac after %0d bytes: %0d mismatches", received, errors);
        $finish;
    end
endmodule
