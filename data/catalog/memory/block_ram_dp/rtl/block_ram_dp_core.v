// Dual-port block RAM core of the block_ram_dp IP. Parameters and ports follow the
// component file; the generated wrapper instantiates this module.
//
// The memory is kept in words of the narrower port; a word of the wider port is
// RATIO consecutive narrow words, the lowest address in the low bits. Each port reads
// the word it addresses before a write to it takes effect (read first). Two ports
// writing one word on the same clock edge leave its contents undefined.
module block_ram_dp_core #(
    parameter integer WIDTH_A = 32,
    // the wider port's width must be the narrower's times a power of two
    parameter integer WIDTH_B = 32,
    // words of port A; port B holds DEPTH_A * WIDTH_A / WIDTH_B words
    parameter integer DEPTH_A = 1024,
    // "common": clka clocks both ports and clkb is unused; "independent": one clock each
    parameter CLOCKING = "common"
) (
    input  wire                                         clka,
    input  wire                                         wea,
    input  wire [$clog2(DEPTH_A)-1:0]                   addra,
    input  wire [WIDTH_A-1:0]                           dina,
    output reg  [WIDTH_A-1:0]                           douta,
    input  wire                                         clkb,
    input  wire                                         web,
    input  wire [$clog2(DEPTH_A * WIDTH_A / WIDTH_B)-1:0] addrb,
    input  wire [WIDTH_B-1:0]                           dinb,
    output reg  [WIDTH_B-1:0]                           doutb
);
    localparam integer NW      = (WIDTH_A < WIDTH_B) ? WIDTH_A : WIDTH_B;
    localparam integer RATIO_A = WIDTH_A / NW;
    localparam integer RATIO_B = WIDTH_B / NW;
    localparam integer ND      = DEPTH_A * RATIO_A;

    reg [NW-1:0] mem[0:ND-1];
    wire         clk_b = (CLOCKING == "common") ? clka : clkb;

    integer i, j;
    initial begin
        for (i = 0; i < ND; i = i + 1) mem[i] = {NW{1'b0}};
        douta = {WIDTH_A{1'b0}};
        doutb = {WIDTH_B{1'b0}};
    end

    always @(posedge clka)
        for (i = 0; i < RATIO_A; i = i + 1) begin
            douta[i*NW +: NW] <= mem[addra * RATIO_A + i];
            if (wea) mem[addra * RATIO_A + i] <= dina[i*NW +: NW];
        end

    always @(posedge clk_b)
        for (j = 0; j < RATIO_B; j = j + 1) begin
            doutb[j*NW +: NW] <= mem[addrb * RATIO_B + j];
            if (web) mem[addrb * RATIO_B + j] <= dinb[j*NW +: NW];
        end
endmodule
